#include "ui/win32_dialog_template.h"

#include "files/path_text.h"

namespace quarvel {

namespace {

// The predefined window classes as a template names them, by atom.
constexpr WORD buttonClass = 0x0080;
constexpr WORD editClass = 0x0081;
constexpr WORD staticClass = 0x0082;
constexpr WORD listBoxClass = 0x0083;
constexpr WORD comboBoxClass = 0x0085;

// Every dialog of the program: a pop-up with caption, close box and modal frame, shown at once.
constexpr DWORD dialogStyle =
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;

WORD classOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Edit:
        return editClass;
    case ControlKind::DropDownList:
        return comboBoxClass;
    case ControlKind::ListBox:
        return listBoxClass;
    case ControlKind::LeftText:
    case ControlKind::CentredText:
    case ControlKind::BlackFrame:
        return staticClass;
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton:
    case ControlKind::GroupBox:
        break;
    }
    return buttonClass;
}

class TemplateWriter {
public:
    void word(WORD value) { m_words.push_back(value); }
    void dword(DWORD value) {
        word(LOWORD(value));
        word(HIWORD(value));
    }
    void text(std::string_view value) {
        for (const wchar_t c : wideText(value)) {
            word(static_cast<WORD>(c));
        }
        word(0);
    }
    // Items start on a DWORD boundary.
    void align() {
        if (m_words.size() % 2 != 0) {
            word(0);
        }
    }
    std::vector<WORD> take() { return std::move(m_words); }

private:
    std::vector<WORD> m_words;
};

} // namespace

DWORD win32ControlStyle(ControlKind kind) {
    switch (kind) {
    case ControlKind::Edit:
        return ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
    case ControlKind::PushButton:
        return BS_PUSHBUTTON | WS_TABSTOP;
    case ControlKind::DefaultPushButton:
        return BS_DEFPUSHBUTTON | WS_TABSTOP;
    case ControlKind::DropDownList:
        return CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    case ControlKind::ListBox:
        return LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_BORDER | WS_VSCROLL | WS_TABSTOP;
    case ControlKind::LeftText:
        return SS_LEFT;
    case ControlKind::CentredText:
        return SS_CENTER;
    case ControlKind::GroupBox:
        return BS_GROUPBOX;
    case ControlKind::BlackFrame:
        return SS_BLACKFRAME;
    }
    return 0;
}

std::vector<WORD> win32DialogTemplate(const DialogTemplate& dialogTemplate) {
    TemplateWriter out;
    out.dword(dialogStyle);
    out.dword(0);
    out.word(static_cast<WORD>(dialogTemplate.controls.size()));
    out.word(0);
    out.word(0);
    out.word(static_cast<WORD>(dialogTemplate.width));
    out.word(static_cast<WORD>(dialogTemplate.height));
    out.word(0); // no menu
    out.word(0); // the dialog class
    out.text(dialogTemplate.title);
    out.word(static_cast<WORD>(dialogTemplate.pointSize));
    out.text(dialogTemplate.fontFamily);
    for (const auto& control : dialogTemplate.controls) {
        out.align();
        out.dword(WS_CHILD | WS_VISIBLE | win32ControlStyle(control.kind));
        out.dword(0);
        out.word(static_cast<WORD>(control.rect.x));
        out.word(static_cast<WORD>(control.rect.y));
        out.word(static_cast<WORD>(control.rect.width));
        out.word(static_cast<WORD>(control.rect.height));
        // NoControlId is the dialog manager's "no identifier" as well: 0xFFFF.
        out.word(static_cast<WORD>(control.id));
        out.word(0xFFFF);
        out.word(classOf(control.kind));
        out.text(control.caption);
        out.word(0); // no creation data
    }
    return out.take();
}

void fillDropDownLists(HWND dialog, const DialogTemplate& dialogTemplate) {
    for (const auto& control : dialogTemplate.controls) {
        for (const auto item : control.items) {
            ::SendDlgItemMessageW(dialog, control.id, CB_ADDSTRING, 0,
                                  reinterpret_cast<LPARAM>(wideText(item).c_str()));
        }
    }
}

std::wstring wideText(std::string_view text) {
    return pathFromText(text).native();
}

std::string windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return textFromPath(std::filesystem::path(text));
}

} // namespace quarvel
