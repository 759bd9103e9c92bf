#pragma once
// The program's two pictures, embedded as resources, and how they are fitted into their boxes:
// scaled to fit inside the box with their aspect kept, centred, the rest of the box filled with
// the picture's own background colour.

#include <QImage>
#include <QLabel>
#include <QSize>

namespace qivara::ui {

inline constexpr char kAnimationResource[] = ":/pictures/animation.gif";
inline constexpr char kDemonstrationResource[] = ":/pictures/demonstration.jpg";
inline constexpr char kIconResource[] = ":/pictures/qivara-balancer.png";

// A picture box: a label that reports left-button presses and fits its picture again whenever
// its own size changes (a window shrunk to fit a small screen).
class PictureBox final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Shows `picture`, fitted into the box.
    void SetStill(const QImage& picture);
    // The size of the picture as made; empty before one is shown.
    QSize NaturalSize() const { return m_natural; }
    void SetNaturalSize(QSize size) { m_natural = size; }

signals:
    void leftButtonPressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Fit();

    QImage m_still;
    QSize m_natural;
};

// Plays the animated picture in `box` (endless, at the picture's own frame times).
void ShowAnimation(PictureBox& box);
// Names a box that shows the animated picture for assistive technology, by what it shows.
void NameAnimation(PictureBox& box);
// Shows the demonstration picture, decoded with libjpeg.
void ShowDemonstration(PictureBox& box);

}  // namespace qivara::ui
