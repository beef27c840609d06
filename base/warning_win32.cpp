// The common warning box, the system error box and shellOpen with its Hungarian failure texts.
#include <windows.h>

#include <cstdio>
#include <string>

#include "base/ui.h"

void warningBox(const char* text) {
    MessageBoxA(GetActiveWindow(), text ? text : "", "Warning", MB_OK | MB_TASKMODAL);
}

void showLastError() {
    DWORD error = GetLastError();
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0, nullptr);
    MessageBoxA(GetActiveWindow(), text ? text : "", "GetLastError", MB_OK | MB_ICONINFORMATION);
    if (text)
        LocalFree(text);
}

const char* shellErrorText(int result) {
    switch (result) {
        case 0:
            return "Az operációs rendszer kifogyott az erőforrásokból.";
        case SE_ERR_FNF:  // 2
            return "A megadott fájlnév nem létezik.";
        case SE_ERR_PNF:  // 3
            return "A megadott útvonal nem létezik.";
        case SE_ERR_ACCESSDENIED:  // 5
            return "Az operációs rendszer megtagadta a hozzáférést.";
        case SE_ERR_OOM:  // 8
            return "Nincs elég memória a művelet végrehajtásához.";
        case ERROR_BAD_FORMAT:  // 11
            return "Érvénytelen program.";
        case SE_ERR_SHARE:  // 26
            return "Egy megosztás megsértése.";
        case SE_ERR_ASSOCINCOMPLETE:  // 27
            return "A fájnév hozzárendelés érvénytelen.";
        case SE_ERR_DDETIMEOUT:  // 28
            return "A DDE tranzakció nem hajtódott végre, mert időtúllépésbe ütközött.";
        case SE_ERR_DDEFAIL:  // 29
            return "A DDE tranzakció végrehajtása sikertelen.";
        case SE_ERR_DDEBUSY:  // 30
            return "A DDE tranzakció nem hajtódott végre mert egy másik tranzakció folyamatban van.";
        case SE_ERR_NOASSOC:  // 31
            return "Nincs társítás a kiterjesztéshez.";
        case SE_ERR_DLLNOTFOUND:  // 32
            return "A meghatározott DLL nem található.";
        default:
            return nullptr;
    }
}

std::string shellErrorMessage(int result, const char* file, const char* parameters, const char* directory) {
    const char* message = shellErrorText(result);
    if (!message)
        return std::string();
    std::string text = message;
    text += "\r\nParancs\t";
    text += file ? file : "";
    text += "\r\nParaméter\t";
    text += parameters ? parameters : "";
    text += "\r\nKönyvtár\t";
    text += directory ? directory : "";
    return text;
}

void shellOpen(const char* operation, const char* file, const char* parameters, const char* directory, int show) {
    HINSTANCE result = ShellExecuteA(GetActiveWindow(), operation, file, parameters, directory, show);
    // ShellExecuteA returns a small error number disguised as an instance handle.
    std::string text =
        shellErrorMessage(static_cast<int>(reinterpret_cast<INT_PTR>(result)), file, parameters, directory);
    if (!text.empty())
        warningBox(text.c_str());
}
