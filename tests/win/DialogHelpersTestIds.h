// Identifiers of the dialog and strings the dialog-helper tests build from their template.
#pragma once

#define IDD_HELPER_TEST 9000
#define IDC_TEST_EDIT 9001
#define IDC_TEST_COMBO 9002
#define IDC_TEST_BUTTON 9003
#define IDS_TEST_FIRST 9010
#define IDS_TEST_SECOND 9011
#define IDS_TEST_LONG 9012
