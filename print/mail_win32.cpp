// The preview's e-mail dialog: saving the pages to a folder, and sending them through Simple MAPI
// or a mail client's compose command line.
#include <windows.h>

#include <cstdio>

#include "base/bound_dialog.h"
#include "base/shared_library.h"
#include "base/ui.h"
#include "print/preview.h"
#include "resources/print_ids.h"

namespace {

// The Simple MAPI entry points, as the platform library exports them.
using MapiLogon = ULONG(WINAPI*)(ULONG_PTR, LPSTR, LPSTR, ULONG, ULONG, ULONG_PTR*);
using MapiLogoff = ULONG(WINAPI*)(ULONG_PTR, ULONG_PTR, ULONG, ULONG);
using MapiSendDocuments = ULONG(WINAPI*)(ULONG_PTR, LPSTR, LPSTR, LPSTR, ULONG);
constexpr ULONG kLogonUi = 0x00000001;
constexpr ULONG kNewSession = 0x00000002;

const char kMailClient[] = "c:\\Program Files (x86)\\Mozilla Thunderbird\\thunderbird.exe";

struct EmailDialog {
    std::vector<std::string>* pages;
};

void mapiError(HWND owner, const char* text) {
    MessageBoxA(owner, text, "Mapi", MB_OK | MB_ICONERROR);
}

const char* baseName(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return path.c_str() + (slash == std::string::npos ? 0 : slash + 1);
}

void savePreview(HWND dialog, const std::vector<std::string>& pages) {
    char folder[MAX_PATH] = "";
    chooseFolder(dialog, "Könyvtár kiválasztása", folder);
    if (*folder)
        copyPageFiles(dialog, pages, folder);
}

void send(HWND dialog, const std::vector<std::string>& pages) {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, IDM_EMAIL_CLIENT, "Thunderbird");
    AppendMenuA(menu, MF_STRING, IDM_EMAIL_MAPI, "MAPI32-API");
    RECT button;
    GetWindowRect(GetDlgItem(dialog, IDC_EMAIL_SEND), &button);
    int choice = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN, button.left, button.bottom, 0, dialog, nullptr);
    DestroyMenu(menu);
    if (choice == IDM_EMAIL_CLIENT)
        sendByMailClient(pages);
    else if (choice == IDM_EMAIL_MAPI)
        sendByMapi(dialog, pages);
    else
        return;
    EndDialog(dialog, 0);
}

INT_PTR handleEmail(HWND dialog, EmailDialog& email, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        for (const std::string& page : *email.pages)
            SendDlgItemMessageA(dialog, IDC_EMAIL_PAGES, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(page.c_str()));
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
        case IDC_EMAIL_SEND:
            send(dialog, *email.pages);
            return TRUE;
        case IDC_EMAIL_SAVE:
            savePreview(dialog, *email.pages);
            EndDialog(dialog, 0);
            return TRUE;
        case IDC_EMAIL_EXIT:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int copyPageFiles(HWND owner, const std::vector<std::string>& pages, const std::string& folder) {
    std::vector<std::string> targets;
    int existing = 0;
    for (const std::string& page : pages) {
        targets.push_back(folder + "\\" + baseName(page));
        if (GetFileAttributesA(targets.back().c_str()) != INVALID_FILE_ATTRIBUTES)
            ++existing;
    }
    if (existing) {
        char question[160];
        std::snprintf(question, sizeof question, "A mappában már van %d ilyen nevű lapfájl. Felülírja őket?", existing);
        if (MessageBoxA(owner, question, "E-mail", MB_YESNO | MB_ICONQUESTION) != IDYES)
            return 0;
    }
    std::vector<std::string> made;
    for (size_t i = 0; i < pages.size(); ++i) {
        bool isNew = GetFileAttributesA(targets[i].c_str()) == INVALID_FILE_ATTRIBUTES;
        if (!CopyFileA(pages[i].c_str(), targets[i].c_str(), FALSE)) {
            // Half a set of pages is worth nothing: the copies made now go again.
            for (const std::string& path : made)
                DeleteFileA(path.c_str());
            std::string text = "A lapfájl másolása sikertelen:\n" + targets[i];
            MessageBoxA(owner, text.c_str(), "Hiba", MB_OK | MB_ICONERROR);
            return 0;
        }
        if (isNew)
            made.push_back(targets[i]);
    }
    return static_cast<int>(pages.size());
}

int sendByMapi(HWND owner, const std::vector<std::string>& pages, const char* library) {
    SharedLibrary mapi = SharedLibrary::open(library);
    if (!mapi.loaded()) {
        mapiError(owner, "MAPI könyvtár nem elérhető");
        return 0;
    }
    const char* names[] = {"MAPILogon",    "MAPILogoff",        "MAPIAddress",
                           "MAPISendMail", "MAPISendDocuments", "MAPIFreeBuffer"};
    for (const char* name : names) {
        if (!mapi.symbol(name)) {
            mapiError(owner, "MAPI funkciók betöltése sikertelen!");
            return 0;
        }
    }
    auto logon = reinterpret_cast<MapiLogon>(mapi.symbol("MAPILogon"));
    auto logoff = reinterpret_cast<MapiLogoff>(mapi.symbol("MAPILogoff"));
    auto sendDocuments = reinterpret_cast<MapiSendDocuments>(mapi.symbol("MAPISendDocuments"));
    ULONG_PTR session = 0;
    ULONG_PTR parent = reinterpret_cast<ULONG_PTR>(owner);
    if (logon(parent, nullptr, nullptr, kLogonUi | kNewSession, 0, &session) != 0) {
        mapiError(owner, "A levélező programba a bejelentkezés sikertelen.");
        logoff(session, parent, 0, 0);
        return 0;
    }
    MapiDocuments documents = mapiDocuments(pages);
    if (documents.pages < pages.size()) {
        char text[200];
        std::snprintf(text, sizeof text, "A mellékletek listája túl hosszú: %lu lapból csak %lu kerül a levélbe.",
                      static_cast<unsigned long>(pages.size()), static_cast<unsigned long>(documents.pages));
        MessageBoxA(owner, text, "Mapi", MB_OK | MB_ICONWARNING);
    }
    char delimiter[] = ";";
    sendDocuments(parent, delimiter, &documents.paths[0], &documents.names[0], 0);
    logoff(session, parent, 0, 0);
    return static_cast<int>(documents.pages);
}

void sendByMailClient(const std::vector<std::string>& pages) {
    std::string parameters = mailClientParameters(pages);
    shellOpen("open", kMailClient, parameters.c_str(), nullptr, SW_SHOWNOACTIVATE);
}

void showEmailDialog(HWND owner, HINSTANCE instance, std::vector<std::string>& pages) {
    EmailDialog email{&pages};
    DialogBoxParamA(instance, "EMAIL", owner, boundDialogProc<EmailDialog, handleEmail>,
                    reinterpret_cast<LPARAM>(&email));
}
