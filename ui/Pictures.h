#pragma once
// The program's two pictures, embedded as resources, and how they are fitted into their boxes:
// scaled to fit inside the box with their aspect kept, centred, the rest of the box filled with
// the picture's own background colour.

#include <QLabel>
#include <QSize>

namespace qivara::ui {

inline constexpr char kAnimationResource[] = ":/pictures/animation.gif";
inline constexpr char kDemonstrationResource[] = ":/pictures/demonstration.jpg";
inline constexpr char kIconResource[] = ":/pictures/qivara-balancer.png";

// A picture box: a label that reports left-button presses.
class PictureBox final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void leftButtonPressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// Plays the animated picture in `box` (endless, at the picture's own frame times).
void ShowAnimation(PictureBox& box);
// Shows the demonstration picture, decoded with libjpeg.
void ShowDemonstration(PictureBox& box);

}  // namespace qivara::ui
