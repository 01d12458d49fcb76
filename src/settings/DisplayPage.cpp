// The Display page: date form, text effect, transparency and font of the face.
// The font dialog works on copies of the font and colour, which reach the face
// only when the page is applied with the custom-font box checked.
#include <windows.h>
#include <commdlg.h>

#include <cstdlib>

#include "app/ClockWindow.h"
#include "face/FaceStyle.h"
#include "res/resource.h"
#include "settings/Flags.h"
#include "settings/PageChoices.h"
#include "settings/SettingsPages.h"
#include "util/DialogHelpers.h"

namespace {

struct CheckBox {
    int controlId;
    bool DisplayChoices::*choice;
};

const CheckBox CHECK_BOXES[] = {
    {IDC_SHOW_YEAR, &DisplayChoices::showYear},
    {IDC_SHOW_MONTH, &DisplayChoices::showMonth},
    {IDC_SHOW_WEEKDAY, &DisplayChoices::showWeekday},
    {IDC_LOCAL_CALENDAR, &DisplayChoices::localCalendar},
    {IDC_SHOW_ERA, &DisplayChoices::showEra},
    {IDC_SHOW_SECONDS, &DisplayChoices::showSeconds},
    {IDC_TRANSPARENT_BACKGROUND, &DisplayChoices::transparentBackground},
    {IDC_TRANSLUCENT, &DisplayChoices::translucent},
    {IDC_CUSTOM_FONT, &DisplayChoices::customFont},
};

const char EFFECT_ITEMS[] = "文字のみ\0影表示\0輪郭表示";
const char DATE_FORM_ITEMS[] = "長い形式\0短い形式\0非表示";

bool isChecked(HWND page, int controlId) { return IsDlgButtonChecked(page, controlId) == BST_CHECKED; }

int32_t comboIndex(HWND page, int controlId) {
    return static_cast<int32_t>(SendDlgItemMessageA(page, controlId, CB_GETCURSEL, 0, 0));
}

void initialize(ClockWindow& clock, HWND page) {
    const DisplayChoices choices = displayChoicesOf(clock.flags);
    for (const CheckBox& box : CHECK_BOXES) {
        CheckDlgButton(page, box.controlId, choices.*box.choice ? BST_CHECKED : BST_UNCHECKED);
    }
    enableDlgItem(page, IDC_CHOOSE_FONT, choices.customFont);
    clock.editLogFont = clock.logFont;
    clock.editFontColor = chooseFaceStyle(clock.flags, clock.fontColor, clock.backColor).textColor;
    enableDlgItem(page, IDC_SHOW_ERA, choices.localCalendar);
    fillComboFromList(page, IDC_TEXT_EFFECT, EFFECT_ITEMS, 3, static_cast<uint32_t>(choices.effect));
    fillComboFromList(page, IDC_DATE_FORM, DATE_FORM_ITEMS, 3, static_cast<uint32_t>(choices.dateForm));
}

void chooseFont(ClockWindow& clock, HWND page) {
    // The font dialog turns points into pixels at the screen's dpi; the face
    // keeps its font as at 96 dpi.
    LOGFONTA font = fontToDpi(clock.editLogFont, screenDpi());
    CHOOSEFONTA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = page;
    dialog.lpLogFont = &font;
    dialog.rgbColors = clock.editFontColor;
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_LIMITSIZE | CF_NOVERTFONTS;
    dialog.nFontType = SCREEN_FONTTYPE;
    dialog.nSizeMin = 1;
    dialog.nSizeMax = 255;
    dialog.iPointSize = std::abs(static_cast<int>(font.lfHeight));
    if (!ChooseFontA(&dialog)) return;
    clock.editLogFont = fontFromDpi(font, screenDpi());
    clock.editFontColor = dialog.rgbColors;
}

// Cancelling the font dialog still counts as a change of the page.
void onClick(ClockWindow& clock, HWND page, int controlId) {
    switch (controlId) {
    case IDC_LOCAL_CALENDAR:
        enableDlgItem(page, IDC_SHOW_ERA, isChecked(page, IDC_LOCAL_CALENDAR));
        break;
    case IDC_CUSTOM_FONT:
        enableDlgItem(page, IDC_CHOOSE_FONT, isChecked(page, IDC_CUSTOM_FONT));
        break;
    case IDC_CHOOSE_FONT:
        chooseFont(clock, page);
        break;
    default:
        break;
    }
}

void apply(ClockWindow& clock, HWND page) {
    DisplayChoices choices = {};
    for (const CheckBox& box : CHECK_BOXES) choices.*box.choice = isChecked(page, box.controlId);
    choices.effect = comboIndex(page, IDC_TEXT_EFFECT);
    choices.dateForm = comboIndex(page, IDC_DATE_FORM);
    clock.flags = withDisplayChoices(clock.flags, choices);
    if (choices.customFont) {
        clock.logFont = clock.editLogFont;
        clock.fontColor = clock.editFontColor;
    } else {
        clock.reloadDefaultFont();
    }
    if (choices.showSeconds) {
        clock.enableSeconds();
    } else {
        clock.disableSeconds();
    }
    clock.buildDatePicture();
    clock.formatDate();
    clock.refreshFaceText();
    InvalidateRect(clock.hwnd, nullptr, TRUE);
    clock.applyLayering();
}

}  // namespace

INT_PTR CALLBACK displayPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    static const SettingsPage operations = {initialize, onClick, apply};
    return answerSettingsPage(operations, page, message, wParam, lParam);
}
