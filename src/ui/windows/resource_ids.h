#pragma once
// Ids of the dialogs, controls, icon and bitmap, shared by the resource script and the code
// (the resource compiler reads only the macros).

#define IDD_ABOUT 100
#define IDD_MAIN 129
#define IDD_EULA 130
#define IDI_FENNOCK 128
#define IDB_BANNER 301

#define IDC_PROGRESS 1000
#define IDC_TITLE 1001
#define IDC_STATUS 1002
#define IDC_LICENCE_TEXT 1003
#define IDC_LICENSE_BUTTON 1004
#define IDC_ABOUT_BUTTON 57664

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
