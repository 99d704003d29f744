#pragma once
// Resource identifiers of ZoLyricOCX.dll.
#define IDD_ABOUTBOX_ZOLYRICOCX 100
#define IDC_ABOUT_PRODUCT 101
#define IDC_ABOUT_COMPANY 102
#define IDD_PROPPAGE_ZOLYRICOCX 200
#define IDC_PAGE_MOVIE 203
#define IDC_PAGE_CHANNEL 204
#define IDC_PAGE_STATE 205
#define IDS_PROPPAGE_TITLE 206
// The movie dialog: the Flash control and the text line under it.
#define IDD_MOVIE_DIALOG 201
#define IDC_FLASH 201
#define IDC_STATUS_TEXT 202
