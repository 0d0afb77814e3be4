// Resource ids of the smoke program.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_SMOKE_DIALOG 100
#define IDD_WIZARD_PAGE1 101
#define IDD_WIZARD_PAGE2 102
#define IDC_SMOKE_NAME 1000
#define IDC_PAGE_TEXT 1001
#define ID_SMOKE_DIALOG 32771
#define ID_SMOKE_WIZARD 32772
#define ID_SMOKE_NEVER 32773
