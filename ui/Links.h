#pragma once
// The two links of the program: labels that open the maker's web address with the desktop's
// handler for web addresses, by a click or, once focused, by Return, Enter or Space. When the
// address cannot be opened (no browser, no handler) a message box says so and holds the address
// as text that can be selected and copied.

#include <QLabel>
#include <QString>
#include <QUrl>
#include <functional>

namespace qivara::ui {

class MakerLink final : public QLabel {
    Q_OBJECT
public:
    // Opens a web address; false when it could not be handed to a program.
    using Opener = std::function<bool(const QUrl&)>;

    MakerLink(const QString& caption, QWidget* parent);

    // The desktop's handler by default.
    void SetOpener(Opener opener) { m_opener = std::move(opener); }
    // Opens the maker's address; reports a failure in a modal box over this link's window.
    void Open();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    Opener m_opener;
};

// The text of the box that reports `address` could not be opened.
QString UnopenedLinkText(const QString& address);

}  // namespace qivara::ui
