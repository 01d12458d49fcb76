// The dialog-control helpers and the window-reading TextBuffer members, against a
// real dialog made from a template of this test program.
#include <gtest/gtest.h>

#include <string>

#include "util/DialogHelpers.h"
#include "util/TextBuffer.h"
#include "win/DialogHelpersTestIds.h"

namespace {

INT_PTR CALLBACK plainDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class DialogHelpers : public ::testing::Test {
protected:
    void SetUp() override {
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_HELPER_TEST), nullptr, plainDialog, 0);
        ASSERT_NE(dialog, nullptr);
    }
    void TearDown() override { DestroyWindow(dialog); }

    std::string comboItem(int index) const {
        char text[600] = "";
        SendDlgItemMessageA(dialog, IDC_TEST_COMBO, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        return text;
    }
    LRESULT comboCount() const { return SendDlgItemMessageA(dialog, IDC_TEST_COMBO, CB_GETCOUNT, 0, 0); }
    LRESULT comboSelection() const { return SendDlgItemMessageA(dialog, IDC_TEST_COMBO, CB_GETCURSEL, 0, 0); }

    HWND dialog = nullptr;
};

TEST_F(DialogHelpers, ReadDlgItemKeepsPreviousTextWhenTheControlIsEmpty) {
    TextBuffer text;
    text.assign("前の内容");
    EXPECT_FALSE(text.readDlgItem(dialog, IDC_TEST_EDIT));
    EXPECT_STREQ(text.c_str(), "前の内容");

    SetDlgItemTextA(dialog, IDC_TEST_EDIT, "会議 10:00");
    EXPECT_EQ(getDlgItemTextLength(dialog, IDC_TEST_EDIT), 10);
    ASSERT_TRUE(text.readDlgItem(dialog, IDC_TEST_EDIT));
    EXPECT_STREQ(text.c_str(), "会議 10:00");
    EXPECT_FALSE(text.readDlgItem(dialog, 4242));  // no such control
}

TEST_F(DialogHelpers, FillComboFromListClampsTheSelection) {
    const char packed[] = "長い形式\0短い形式\0非表示";
    ASSERT_TRUE(fillComboFromList(dialog, IDC_TEST_COMBO, packed, 3, 3));
    ASSERT_EQ(comboCount(), 3);
    EXPECT_EQ(comboSelection(), 2);
    EXPECT_EQ(comboItem(1), "短い形式");
    uint32_t index = 99;
    ASSERT_TRUE(getComboSel(dialog, IDC_TEST_COMBO, &index));
    EXPECT_EQ(index, 2u);

    SendDlgItemMessageA(dialog, IDC_TEST_COMBO, CB_RESETCONTENT, 0, 0);
    ASSERT_TRUE(fillComboFromList(dialog, IDC_TEST_COMBO, packed, 0, 0));
    EXPECT_EQ(comboSelection(), CB_ERR);
    index = 99;
    EXPECT_FALSE(getComboSel(dialog, IDC_TEST_COMBO, &index));
    EXPECT_EQ(index, 99u);  // untouched when nothing is selected

    EXPECT_FALSE(fillComboFromList(dialog, IDC_TEST_COMBO, nullptr, 1, 0));
    EXPECT_FALSE(fillComboFromList(dialog, 4242, packed, 1, 0));
}

TEST_F(DialogHelpers, FillComboFromListStopsAtAnItemWithoutNulWithin512Bytes) {
    std::string packed = "一つ目";
    packed.push_back('\0');
    packed.append(600, 'x');
    packed.push_back('\0');
    EXPECT_FALSE(fillComboFromList(dialog, IDC_TEST_COMBO, packed.data(), 2, 0));
    EXPECT_EQ(comboCount(), 2);  // both were added before the scan gave up
}

TEST_F(DialogHelpers, FillComboFromStringsLoadsEachStringAndStopsAtAMissingOne) {
    const UINT ids[] = {IDS_TEST_FIRST, IDS_TEST_SECOND};
    ASSERT_TRUE(fillComboFromStrings(dialog, IDC_TEST_COMBO, ids, 2, 1));
    EXPECT_EQ(comboItem(0), "毎週");
    EXPECT_EQ(comboItem(1), "第１週");
    EXPECT_EQ(comboSelection(), 1);

    SendDlgItemMessageA(dialog, IDC_TEST_COMBO, CB_RESETCONTENT, 0, 0);
    const UINT withMissing[] = {IDS_TEST_FIRST, 4242, IDS_TEST_SECOND};
    EXPECT_FALSE(fillComboFromStrings(dialog, IDC_TEST_COMBO, withMissing, 3, 0));
    EXPECT_EQ(comboCount(), 1);
}

TEST_F(DialogHelpers, EnableAndShowReportNoControlAsZero) {
    EXPECT_EQ(enableDlgItem(dialog, 4242, FALSE), 0);
    EXPECT_EQ(showDlgItem(dialog, 4242, TRUE), 0);
    enableDlgItem(dialog, IDC_TEST_BUTTON, FALSE);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_TEST_BUTTON)));
    enableDlgItem(dialog, IDC_TEST_BUTTON, TRUE);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_TEST_BUTTON)));
    showDlgItem(dialog, IDC_TEST_BUTTON, TRUE);
    EXPECT_TRUE(GetWindowLongPtrA(GetDlgItem(dialog, IDC_TEST_BUTTON), GWL_STYLE) & WS_VISIBLE);
    showDlgItem(dialog, IDC_TEST_BUTTON, FALSE);
    EXPECT_FALSE(GetWindowLongPtrA(GetDlgItem(dialog, IDC_TEST_BUTTON), GWL_STYLE) & WS_VISIBLE);
}

TEST(TextBufferResources, LoadStringReadsAtMost511BytesAndKeepsTheBufferOnFailure) {
    TextBuffer text;
    ASSERT_TRUE(text.loadString(IDS_TEST_FIRST));
    EXPECT_STREQ(text.c_str(), "毎週");
    ASSERT_TRUE(text.loadString(IDS_TEST_LONG));
    EXPECT_EQ(text.length(), 511u);
    text.assign("そのまま");
    EXPECT_FALSE(text.loadString(4242));
    EXPECT_STREQ(text.c_str(), "そのまま");
}

}  // namespace
