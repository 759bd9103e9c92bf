#include "WindowControls.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <stdexcept>

#include "QtText.h"

namespace qivara::ui {
namespace {

constexpr char kIntegerTextProperty[] = "qivaraIntegerText";

[[noreturn]] void Unsupported(std::string_view control, Property property) {
    throw std::logic_error("no property " + std::to_string(static_cast<int>(property)) + " on " + std::string(control));
}

std::int32_t AsInteger(std::string_view control, const PropertyValue& value) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) return *number;
    throw std::logic_error("an integer property of " + std::string(control) + " was given a text");
}

QString AsText(std::string_view control, const PropertyValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return QStringFromCp936(*text);
    throw std::logic_error("a text property of " + std::string(control) + " was given an integer");
}

}  // namespace

std::int32_t InputModeOf(const QLineEdit& edit) {
    if (edit.isReadOnly()) return kInputReadOnly;
    if (edit.echoMode() == QLineEdit::Password) return kInputPassword;
    if (edit.property(kIntegerTextProperty).toBool()) return kInputInteger;
    return kInputNormal;
}

void SetInputMode(QLineEdit& edit, std::int32_t mode) {
    edit.setReadOnly(mode == kInputReadOnly);
    edit.setEchoMode(mode == kInputPassword ? QLineEdit::Password : QLineEdit::Normal);
    edit.setProperty(kIntegerTextProperty, mode == kInputInteger);
}

WindowControls::WindowControls(QWidget& window, MessageBoxPresenter presenter)
    : m_window(window), m_presenter(std::move(presenter)) {}

QWidget& WindowControls::Control(std::string_view name) const {
    const QString objectName = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    if (m_window.objectName() == objectName) return m_window;
    if (auto* found = m_window.findChild<QWidget*>(objectName)) return *found;
    throw std::logic_error("no control " + std::string(name));
}

QLineEdit& WindowControls::Edit(std::string_view name) const {
    if (auto* edit = qobject_cast<QLineEdit*>(&Control(name))) return *edit;
    throw std::logic_error(std::string(name) + " is no edit box");
}

QString WindowControls::ReadEditText(std::string_view name) const { return Edit(name).text(); }

void WindowControls::WriteEditText(std::string_view name, const QString& text) {
    QLineEdit& edit = Edit(name);
    edit.setText(text);
    edit.setCursorPosition(0);  // a written text shows from its start
}

PropertyValue WindowControls::ReadProperty(std::string_view control, Property property) {
    QWidget& widget = Control(control);
    auto* edit = qobject_cast<QLineEdit*>(&widget);
    auto* button = qobject_cast<QAbstractButton*>(&widget);
    switch (property) {
        case Property::Disabled:
            return static_cast<std::int32_t>(widget.isEnabled() ? 0 : 1);
        case Property::Content:
            if (edit) return Cp936FromQString(edit->text());
            break;
        case Property::ButtonType:
            if (auto* push = qobject_cast<QPushButton*>(&widget))
                return static_cast<std::int32_t>(push->isDefault() ? 1 : 0);
            break;
        case Property::Caption:
            if (button) return Cp936FromQString(button->text());
            break;
        case Property::CurrentPage:
            if (auto* pages = qobject_cast<QStackedWidget*>(&widget))
                return static_cast<std::int32_t>(pages->currentIndex());
            break;
        case Property::InputMode:  // also Property::Selected: same number, told apart by the control type
            if (edit) return InputModeOf(*edit);
            if (auto* radio = qobject_cast<QRadioButton*>(&widget))
                return static_cast<std::int32_t>(radio->isChecked() ? 1 : 0);
            break;
        default:
            break;
    }
    Unsupported(control, property);
}

void WindowControls::WriteProperty(std::string_view control, Property property, const PropertyValue& value) {
    QWidget& widget = Control(control);
    auto* edit = qobject_cast<QLineEdit*>(&widget);
    auto* button = qobject_cast<QAbstractButton*>(&widget);
    switch (property) {
        case Property::Disabled:
            widget.setEnabled(AsInteger(control, value) == 0);
            return;
        case Property::Content:
            if (edit) {
                edit->setText(AsText(control, value));
                edit->setCursorPosition(0);  // a written text shows from its start
                return;
            }
            break;
        case Property::ButtonType:
            if (auto* push = qobject_cast<QPushButton*>(&widget)) {
                push->setDefault(AsInteger(control, value) == 1);
                return;
            }
            break;
        case Property::Caption:
            if (button) {
                button->setText(AsText(control, value));
                return;
            }
            break;
        case Property::CurrentPage:
            if (auto* pages = qobject_cast<QStackedWidget*>(&widget)) {
                pages->setCurrentIndex(AsInteger(control, value));
                return;
            }
            break;
        case Property::InputMode:
            if (edit) {
                SetInputMode(*edit, AsInteger(control, value));
                return;
            }
            if (auto* radio = qobject_cast<QRadioButton*>(&widget)) {
                radio->setChecked(AsInteger(control, value) == 1);
                return;
            }
            break;
        default:
            break;
    }
    Unsupported(control, property);
}

void WindowControls::ShowMessageBox(const std::string& message, const std::string& title, std::int32_t style) {
    m_presenter(m_window, QStringFromCp936(message), QStringFromCp936(title), IconForStyle(style));
}

}  // namespace qivara::ui
