#pragma once
// The start-up picture: borderless, modal, closed by a left click on the picture.

#include <QDialog>

namespace qivara::ui {

class PictureBox;

class SplashWindow final : public QDialog {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

    PictureBox& Picture() const { return *m_picture; }

private:
    PictureBox* m_picture;
};

}  // namespace qivara::ui
