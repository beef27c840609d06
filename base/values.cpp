// Str, the owned value text, and the number formatters of N fields and display cells.
#include "base/values.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/settings.h"
#include "base/text_rules.h"

namespace {

// snprintf into a Str of exactly the needed size.
template <typename... Args>
Str printed(const char* format, Args... args) {
    int n = std::snprintf(nullptr, 0, format, args...);
    if (n < 0)
        return Str();
    std::vector<char> buffer(static_cast<std::size_t>(n) + 1);
    std::snprintf(buffer.data(), buffer.size(), format, args...);
    return Str(buffer.data());
}

// A leading run of at most `count` digits of `text`, as a number (0 when there is none).
int leadingDigits(const char* text, int count) {
    int value = 0;
    for (int i = 0; i < count && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

// The display form of a double: "%WW.Df" from the first two characters of SET_NUMLEN and the first
// of SET_DECIMAL. Only digits are taken, so a one-digit or non-numeric setting cannot produce a
// broken format string.
Str displayDouble(double value) {
    char numlen[kSettingFieldSize];
    std::strcpy(numlen, setting(SET_NUMLEN));
    int width = leadingDigits(numlen, 2);  // at most 99
    int decimals = leadingDigits(setting(SET_DECIMAL), 1);
    return printed("%*.*f", width, decimals, value);
}

// a + b, held at the limits of long long instead of overflowing.
long long sumSaturated(long long a, long long b) {
    if (b > 0 && a > LLONG_MAX - b)
        return LLONG_MAX;
    if (b < 0 && a < LLONG_MIN - b)
        return LLONG_MIN;
    return a + b;
}

// Widths and decimal counts beyond any field or cell, held so a bad setting cannot ask for gigabytes.
constexpr int kMaxWidth = 4096;
constexpr int kMaxDecimals = 100;

int clampTo(long value, int high) {
    return value < 0 ? 0 : value > high ? high : static_cast<int>(value);
}

}  // namespace

Str::Str() {
    assign("", 0);
}

Str::Str(int room) {
    assign("", 0, room > 0 ? static_cast<std::size_t>(room) : 0);
}

Str::Str(const char* text) {
    const char* t = text ? text : "";
    assign(t, std::strlen(t));
}

Str::Str(const Str& other) {
    assign(other.text_, static_cast<std::size_t>(other.length_));
}

Str::Str(Str&& other) noexcept : length_(other.length_), text_(other.text_) {
    other.length_ = 0;
    other.text_ = sharedEmpty();
}

Str::~Str() {
    release();
}

char* Str::sharedEmpty() {
    // A moved-from Str still reads as an empty text; this buffer is never freed or written
    // beyond its terminator.
    static char empty[1] = {0};
    return empty;
}

void Str::release() {
    if (text_ != sharedEmpty())
        delete[] text_;
}

void Str::adopt(char* fresh, int length) {
    release();
    text_ = fresh;
    length_ = length;
}

void Str::assign(const char* text, std::size_t n, std::size_t room) {
    if (room < n)
        room = n;
    char* fresh = new char[room + 1];
    std::memcpy(fresh, text, n);
    fresh[n] = 0;
    adopt(fresh, static_cast<int>(n));
}

Str& Str::operator=(const Str& other) {
    if (this != &other)
        assign(other.c_str(), static_cast<std::size_t>(other.length()));
    return *this;
}

Str& Str::operator=(Str&& other) noexcept {
    if (this != &other) {
        adopt(other.text_, other.length_);
        other.length_ = 0;
        other.text_ = sharedEmpty();
    }
    return *this;
}

Str& Str::operator=(const char* text) {
    const char* t = text ? text : "";
    // The text may lie inside this Str's own buffer; assign copies before freeing.
    assign(t, std::strlen(t));
    return *this;
}

Str& Str::operator=(int value) {
    return *this = printed("%d", value);
}

Str& Str::operator=(long value) {
    return *this = printed("%ld", value);
}

Str& Str::operator=(long double value) {
    return *this = formatNumber(value, 18, 5);
}

Str& Str::operator=(double value) {
    return *this = displayDouble(value);
}

Str& Str::operator+=(const Str& other) {
    Str copy(other);  // other may be *this
    return *this += copy.c_str();
}

Str& Str::operator+=(const char* text) {
    if (!text)
        return *this;
    std::size_t a = static_cast<std::size_t>(length_);
    std::size_t b = std::strlen(text);
    char* fresh = new char[a + b + 1];
    std::memcpy(fresh, c_str(), a);
    std::memcpy(fresh + a, text, b);
    fresh[a + b] = 0;
    adopt(fresh, static_cast<int>(a + b));
    return *this;
}

Str& Str::operator+=(char c) {
    const char text[2] = {c, 0};
    return *this += text;
}

Str& Str::add(int value) {
    return *this = printed("%lld", sumSaturated(toLong(), value));
}

Str& Str::add(long value) {
    return *this = printed("%lld", sumSaturated(toLong(), value));
}

Str& Str::add(double value) {
    return *this = static_cast<double>(toLongDouble()) + value;
}

Str& Str::add(long double value) {
    return *this = toLongDouble() + value;
}

Str& Str::subtract(int value) {
    return *this = printed("%lld", sumSaturated(toLong(), -static_cast<long long>(value)));
}

Str& Str::subtract(long value) {
    // -LONG_MIN does not exist; saturate it to LONG_MAX first.
    long long v = value == LONG_MIN ? LLONG_MAX : -static_cast<long long>(value);
    return *this = printed("%lld", sumSaturated(toLong(), v));
}

Str& Str::subtract(double value) {
    return *this = static_cast<double>(toLongDouble()) - value;
}

Str& Str::subtract(long double value) {
    return *this = toLongDouble() - value;
}

bool Str::operator==(const Str& other) const {
    return length_ == other.length_ && std::memcmp(c_str(), other.c_str(), static_cast<std::size_t>(length_)) == 0;
}

bool Str::operator==(const char* text) const {
    return std::strcmp(c_str(), text ? text : "") == 0;
}

int Str::compare(const Str& other) const {
    return compareText(c_str(), other.c_str());
}

Str& Str::upper() {
    toUpperHun(text_, text_);
    return *this;
}

Str& Str::lower() {
    toLowerHun(text_, text_);
    return *this;
}

Str& Str::trimLeft() {
    const char* p = text_;
    while (*p == ' ')
        ++p;
    assign(p, std::strlen(p));
    return *this;
}

Str& Str::trimRight() {
    std::size_t n = static_cast<std::size_t>(length_);
    while (n > 0 && text_[n - 1] == ' ')
        --n;
    assign(text_, n);
    return *this;
}

Str& Str::trim() {
    return trimRight().trimLeft();
}

Str& Str::keepLeft(int n) {
    if (n < 0)
        n = 0;
    if (n < length_)
        assign(text_, static_cast<std::size_t>(n));
    return *this;
}

Str& Str::keepRight(int n) {
    if (n < 0)
        n = 0;
    if (n < length_)
        assign(text_ + (length_ - n), static_cast<std::size_t>(n));
    return *this;
}

Str& Str::padLeft(int width, char fill) {
    if (width < 0)
        width = 0;
    if (length_ >= width)
        return keepLeft(width);
    std::size_t w = static_cast<std::size_t>(width);
    std::size_t pad = w - static_cast<std::size_t>(length_);
    char* fresh = new char[w + 1];
    std::memset(fresh, fill, pad);
    std::memcpy(fresh + pad, text_, static_cast<std::size_t>(length_));
    fresh[w] = 0;
    adopt(fresh, width);
    return *this;
}

Str& Str::padRight(int width, char fill) {
    if (width < 0)
        width = 0;
    if (length_ >= width)
        return keepLeft(width);
    std::size_t w = static_cast<std::size_t>(width);
    char* fresh = new char[w + 1];
    std::memcpy(fresh, text_, static_cast<std::size_t>(length_));
    std::memset(fresh + length_, fill, w - static_cast<std::size_t>(length_));
    fresh[w] = 0;
    adopt(fresh, width);
    return *this;
}

Str& Str::center(int width, char fill) {
    if (width < 0)
        width = 0;
    if (length_ >= width)
        return keepLeft(width);
    int left = (width - length_) / 2;
    padLeft(length_ + left, fill);
    return padRight(width, fill);
}

Str& Str::fill(int n, char c) {
    if (n < 0)
        n = 0;
    std::size_t count = static_cast<std::size_t>(n);
    char* fresh = new char[count + 1];
    std::memset(fresh, c, count);
    fresh[count] = 0;
    adopt(fresh, n);
    return *this;
}

Str& Str::interleave(char c) {
    std::size_t n = static_cast<std::size_t>(length_);
    char* fresh = new char[2 * n + 1];
    for (std::size_t i = 0; i < n; ++i) {
        fresh[2 * i] = text_[i];
        fresh[2 * i + 1] = c;
    }
    fresh[2 * n] = 0;
    adopt(fresh, static_cast<int>(2 * n));
    return *this;
}

Str Str::sub(int start, int count) const {
    Str s;
    if (start < 0) {
        count += start;
        start = 0;
    }
    if (start >= length_ || count <= 0)
        return s;
    if (count > length_ - start)
        count = length_ - start;
    s.assign(text_ + start, static_cast<std::size_t>(count));
    return s;
}

int Str::toInt() const {
    long v = std::strtol(c_str(), nullptr, 10);
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}

long Str::toLong() const {
    return std::strtol(c_str(), nullptr, 10);
}

long double Str::toLongDouble() const {
    return std::strtold(c_str(), nullptr);
}

int Str::find(const char* needle) const {
    return findText(needle, c_str());
}

bool Str::isBlank() const {
    return ::isBlank(c_str()) != 0;
}

int Str::lineCount() const {
    if (length_ == 0)
        return 0;
    int lines = 1;
    for (int i = 0; i + 1 < length_; ++i)
        if (text_[i] == '\r' && text_[i + 1] == '\n')
            ++lines;
    return lines;
}

Str Str::line(int n) const {
    constexpr int kMaxLine = 511;
    Str s;
    if (n < 1 || length_ == 0)
        return s;
    int start = 0;
    for (int k = 1; k < n; ++k) {
        const char* next = std::strstr(text_ + start, "\r\n");
        if (!next)
            return s;
        start = static_cast<int>(next - text_) + 2;
    }
    const char* end = std::strstr(text_ + start, "\r\n");
    int count = end ? static_cast<int>(end - text_) - start : length_ - start;
    if (count > kMaxLine)
        count = kMaxLine;
    s.assign(text_ + start, static_cast<std::size_t>(count));
    return s;
}

Str Str::picture(const char* pictureText, PictureDirection direction) const {
    char result[kPictureResultSize];
    return Str(formatPicture(c_str(), pictureText, direction, result));
}

Str formatNumber(long double value, int width, int decimals) {
    decimals = clampTo(decimals, kMaxDecimals);
    width = clampTo(width, kMaxWidth);
    Str text = printed("%*.*Lf", width, decimals, value);
    if (decimals > 0 && text.length() > width) {
        text.fill(decimals, '0');
        Str over("0.");
        over += text;
        return over;
    }
    return text;
}

Str formatInteger(long value, int width) {
    return printed("%*ld", clampTo(width, kMaxWidth), value);
}

Str formatDisplay(long double value) {
    // A display cell shows the plain fixed-point text; only N fields take the "0." over-wide form.
    return printed("%*.*Lf", clampTo(settingLong(SET_NUMLEN), kMaxWidth),
                   clampTo(settingLong(SET_DECIMAL), kMaxDecimals), value);
}
