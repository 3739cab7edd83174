// Resource and command ids of Relaine.
#pragma once

#define IDS_APP_TITLE 103
#define IDD_ABOUTBOX 103
#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDS_HELLO 106
#define IDI_RELAINE 107
#define IDI_SMALL 108
#define IDC_RELAINE 109
#define IDC_ABOUT_ICON 2
