#pragma once
// The usage rules with the animated picture and the demonstration picture; modal, close box only.

#include <QDialog>

namespace qivara::ui {

class UsageWindow final : public QDialog {
    Q_OBJECT
public:
    explicit UsageWindow(QWidget* parent = nullptr);
};

}  // namespace qivara::ui
