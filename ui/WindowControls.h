#pragma once
// The main window's controls seen through property access, on the window's own thread. Controls
// are found by their unit name, which is their objectName. Texts cross here between QString and
// code page 936 bytes. Only the properties the program uses are carried: disabled, content,
// button type, caption, current page, input mode and selected; any other throws.

#include <QWidget>

#include "MessageBoxPresenter.h"
#include "PropertyAccess.h"

class QLineEdit;

namespace qivara::ui {

// The input mode of an edit box lives on the QLineEdit itself: read-only and password map to
// Qt's own settings, integer text to a dynamic property that the typing guard consults.
std::int32_t InputModeOf(const QLineEdit& edit);
void SetInputMode(QLineEdit& edit, std::int32_t mode);

class WindowControls final : public WindowAccess {
public:
    // `window` owns the controls and outlives this object. Use only on the window's thread.
    WindowControls(QWidget& window, MessageBoxPresenter presenter);

    PropertyValue ReadProperty(std::string_view control, Property property) override;
    // Writing an edit box's content emits textChanged, so its content-changed handler runs.
    void WriteProperty(std::string_view control, Property property, const PropertyValue& value) override;
    // Shows the box through the presenter, owned by the window; returns when it is closed.
    void ShowMessageBox(const std::string& message, const std::string& title, std::int32_t style) override;

    void SetMessageBoxPresenter(MessageBoxPresenter presenter) { m_presenter = std::move(presenter); }

    // An edit box's text as a QString, for the boxes whose content crosses as UTF-8
    // (WorkerBridge); writing it behaves as writing the content property.
    QString ReadEditText(std::string_view name) const;
    void WriteEditText(std::string_view name, const QString& text);

private:
    QWidget& Control(std::string_view name) const;
    QLineEdit& Edit(std::string_view name) const;

    QWidget& m_window;
    MessageBoxPresenter m_presenter;
};

}  // namespace qivara::ui
