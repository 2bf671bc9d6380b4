#include "ui/dialog_builder.h"

#include "ui/dialog_colours.h"

#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QProxyStyle>
#include <QPushButton>
#include <algorithm>

namespace quarvel {

namespace {

constexpr char controlIdProperty[] = "controlId";

// Rounds half away from zero, as the dialog manager's MulDiv does.
int scaled(int units, int base, int divisor) {
    const int product = units * base;
    return product >= 0 ? (2 * product + divisor) / (2 * divisor)
                        : -((-2 * product + divisor) / (2 * divisor));
}

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

QColor qColour(const BarColour& colour) {
    return {colour.red, colour.green, colour.blue};
}

// Edit boxes and lists keep the system's colours, since they paint with other roles.
void applyDialogColours(QDialog& dialog) {
    QPalette palette = dialog.palette();
    palette.setColor(QPalette::Window, qColour(kDialogBackground));
    palette.setColor(QPalette::WindowText, qColour(kDialogText));
    palette.setColor(QPalette::ButtonText, qColour(kDialogText));
    dialog.setPalette(palette);
    dialog.setAutoFillBackground(true);
}

// Drop-down lists drop below the control with a height of their own and a vertical scroll bar,
// instead of the menu laid over the control that some styles give.
class DropDownStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ComboBox_Popup) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QWidget* createDropDownList(const ControlTemplate& control, QWidget& parent, const QRect& area) {
    auto* list = new QComboBox(&parent);
    auto* style = new DropDownStyle;
    style->setParent(list);
    list->setStyle(style);
    for (const auto item : control.items) {
        list->addItem(text(item));
    }
    list->setCurrentIndex(-1);
    // The template's height is the dropped-down one; closed, the list is one line high.
    const int closedHeight = list->sizeHint().height();
    list->setGeometry(area.x(), area.y(), area.width(), closedHeight);
    const int itemHeight = std::max(1, list->fontMetrics().height());
    list->setMaxVisibleItems(std::max(1, (area.height() - closedHeight) / itemHeight));
    return list;
}

QLabel* createText(const ControlTemplate& control, QWidget& parent, const QRect& area,
                   Qt::Alignment alignment) {
    auto* label = new QLabel(text(control.caption), &parent);
    // Texts with room for several lines wrap at words. A one-line label does not: a caption that
    // fills its box exactly would otherwise lose its last word to fractional glyph widths.
    label->setWordWrap(area.height() >= 2 * label->fontMetrics().height());
    label->setAlignment(alignment | Qt::AlignTop);
    return label;
}

QWidget* createControl(const ControlTemplate& control, QWidget& parent, const QRect& area) {
    switch (control.kind) {
    case ControlKind::Edit:
        return new QLineEdit(&parent);
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton: {
        auto* button = new QPushButton(text(control.caption), &parent);
        button->setDefault(control.kind == ControlKind::DefaultPushButton);
        return button;
    }
    case ControlKind::DropDownList:
        return createDropDownList(control, parent, area);
    case ControlKind::ListBox: {
        // A vertical scroll bar only: a long line is cut at the right edge, neither scrolled to
        // nor shortened with an ellipsis.
        auto* list = new QListWidget(&parent);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setTextElideMode(Qt::ElideNone);
        return list;
    }
    case ControlKind::LeftText:
        return createText(control, parent, area, Qt::AlignLeft);
    case ControlKind::CentredText:
        return createText(control, parent, area, Qt::AlignHCenter);
    case ControlKind::GroupBox:
        return new QGroupBox(text(control.caption), &parent);
    case ControlKind::BlackFrame: {
        auto* frame = new QFrame(&parent);
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        return frame;
    }
    }
    return nullptr;
}

} // namespace

DialogBaseUnits dialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(alphabetWidth + 26) / 52, metrics.height()};
}

QRect toPixels(const DialogRect& rect, const DialogBaseUnits& units) {
    return {scaled(rect.x, units.charWidth, 4), scaled(rect.y, units.charHeight, 8),
            scaled(rect.width, units.charWidth, 4), scaled(rect.height, units.charHeight, 8)};
}

void buildDialog(QDialog& dialog, const DialogTemplate& dialogTemplate) {
    dialog.setWindowTitle(text(dialogTemplate.title));
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint);
    QFont font(text(dialogTemplate.fontFamily));
    font.setPointSize(dialogTemplate.pointSize);
    dialog.setFont(font);
    applyDialogColours(dialog);

    const auto units = dialogBaseUnits(font);
    const auto size = toPixels({0, 0, dialogTemplate.width, dialogTemplate.height}, units);
    dialog.setFixedSize(size.size());

    QWidget* previous = nullptr;
    for (const auto& control : dialogTemplate.controls) {
        const auto area = toPixels(control.rect, units);
        QWidget* widget = createControl(control, dialog, area);
        if (control.kind != ControlKind::DropDownList) {
            widget->setGeometry(area);
        }
        if (control.id != NoControlId) {
            widget->setObjectName(QString::number(control.id));
            widget->setProperty(controlIdProperty, control.id);
        }
        if (control.kind == ControlKind::GroupBox) {
            // Group boxes are drawn behind the controls they frame.
            widget->lower();
        }
        if (widget->focusPolicy() != Qt::NoFocus) {
            if (previous != nullptr) {
                QWidget::setTabOrder(previous, widget);
            }
            previous = widget;
        }
    }
}

QWidget* findControl(const QWidget& dialog, int id) {
    if (id == NoControlId) {
        return nullptr;
    }
    for (auto* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->property(controlIdProperty).toInt() == id) {
            return child;
        }
    }
    return nullptr;
}

} // namespace quarvel
