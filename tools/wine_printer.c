/* Adds the Wine prefix's default printer: Wine's PostScript driver with our A4 PPD, printing
   through a pipe port into a shell command (ghostscript writes each job as a PDF file).
   Usage: wine_printer.exe PRINTER-NAME PPD-PATH PORT-COMMAND   (the command without the leading '|') */
#include <windows.h>

#include <stdio.h>
#include <string.h>
#include <winspool.h>

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: wine_printer.exe NAME PPD COMMAND\n");
        return 2;
    }
    char* name = argv[1];
    char port[2048];
    snprintf(port, sizeof port, "|%s", argv[3]);

    /* The driver reads its PPD from the printer-driver directory. */
    char ppd[MAX_PATH];
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(NULL, NULL, 1, (BYTE*)ppd, sizeof ppd - 32, &needed)) {
        fprintf(stderr, "GetPrinterDriverDirectoryA failed: %lu\n", GetLastError());
        return 1;
    }
    CreateDirectoryA(ppd, NULL);
    strcat(ppd, "\\quarrow-pdf.ppd");
    if (!CopyFileA(argv[2], ppd, FALSE)) {
        fprintf(stderr, "copying %s to %s failed: %lu\n", argv[2], ppd, GetLastError());
        return 1;
    }

    DRIVER_INFO_3A driver;
    memset(&driver, 0, sizeof driver);
    driver.cVersion = 3;
    driver.pName = name;
    driver.pDriverPath = "wineps.drv";
    driver.pDataFile = ppd;
    driver.pConfigFile = "wineps.drv";
    driver.pDefaultDataType = "RAW";
    if (!AddPrinterDriverExA(NULL, 3, (BYTE*)&driver, 0) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) {
        fprintf(stderr, "AddPrinterDriverExA failed: %lu\n", GetLastError());
        return 1;
    }

    HANDLE existing = NULL;
    if (OpenPrinterA(name, &existing, NULL)) {
        ClosePrinter(existing);  /* already there: only make it the default */
    } else {
        PRINTER_INFO_2A printer;
        memset(&printer, 0, sizeof printer);
        printer.pPrinterName = name;
        printer.pPortName = port;
        printer.pDriverName = name;
        /* The driver already writes PostScript: the job goes to the port as it is. */
        printer.pPrintProcessor = "winprint";
        printer.pDatatype = "RAW";
        printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
        HANDLE added = AddPrinterA(NULL, 2, (BYTE*)&printer);
        if (!added) {
            fprintf(stderr, "AddPrinterA failed: %lu\n", GetLastError());
            return 1;
        }
        ClosePrinter(added);
    }
    if (!SetDefaultPrinterA(name)) {
        fprintf(stderr, "SetDefaultPrinterA failed: %lu\n", GetLastError());
        return 1;
    }
    return 0;
}
