// Control ids of the ODBC dialogs.
#pragma once

// Dialog LOGIN.
#define IDC_LOGIN_USER 101
#define IDC_LOGIN_OK 102
#define IDC_LOGIN_PASSWORD 106
#define IDC_LOGIN_USER_LABEL 103
#define IDC_LOGIN_PASSWORD_LABEL 104
