// Draws the program's animated picture: two hydrogen molecules and one oxygen molecule meet and
// become two water molecules, under rising bubbles, with the balanced equation fading in. The
// frames are drawn with QPainter, reduced to one shared 256-colour palette and written with
// giflib: 460 x 340 pixels, 157 frames of 50 ms, repeating without end. Also writes the icon.
//
// usage: qivara-make-animation ANIMATION.gif ICON.png

#include <gif_lib.h>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 340;
constexpr int kFrames = 157;
constexpr int kFrameCentiseconds = 5;
constexpr double kPi = 3.14159265358979323846;

const QColor kBackground(23, 48, 90);
const QColor kHydrogen(240, 240, 240);
const QColor kOxygen(230, 57, 70);
const QColor kBond(200, 210, 225);

double Clamp01(double x) { return std::clamp(x, 0.0, 1.0); }
double Ease(double x) {
    x = Clamp01(x);
    return x * x * (3 - 2 * x);
}
QPointF Mix(QPointF a, QPointF b, double k) { return a + (b - a) * k; }

// The bold face the animation writes its words in.
QFont BoldFont(int pixelSize) {
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

void DrawAtom(QPainter& painter, QPointF centre, double radius, const QColor& colour, double opacity) {
    painter.setOpacity(opacity);
    QRadialGradient shade(centre - QPointF(radius / 3, radius / 3), radius * 1.3);
    shade.setColorAt(0, colour.lighter(150));
    shade.setColorAt(0.6, colour);
    shade.setColorAt(1, colour.darker(160));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawEllipse(centre, radius, radius);
}

void DrawBond(QPainter& painter, QPointF a, QPointF b, double opacity) {
    painter.setOpacity(opacity);
    painter.setPen(QPen(kBond, 5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(a, b);
}

// Atom positions of one frame: 4 hydrogens and 2 oxygens.
struct Atoms {
    std::array<QPointF, 4> hydrogen;
    std::array<QPointF, 2> oxygen;
    bool bondedAsWater = false;
};

Atoms AtomsAt(double t) {
    const QPointF waterCentre[2] = {{150, 185}, {310, 185}};
    const QPointF hOffset(27, 21);
    Atoms atoms;
    // Phase 1 (0 .. 0.35): the molecules arrive; H2 from the sides, O2 from above.
    const double arrive = Ease(t / 0.35);
    const QPointF h2a = Mix({-70, 215}, {150, 215}, arrive);
    const QPointF h2b = Mix({530, 215}, {310, 215}, arrive);
    const QPointF o2 = Mix({230, -40}, {230, 150}, arrive);
    const double spin = (1 - arrive) * 2 * kPi * 0.75;
    const QPointF h2Axis(18 * std::cos(spin), 18 * std::sin(spin));
    const QPointF o2Axis(24 * std::cos(-spin), 24 * std::sin(-spin));
    const Atoms before{{h2a - h2Axis, h2a + h2Axis, h2b - h2Axis, h2b + h2Axis}, {o2 - o2Axis, o2 + o2Axis}, false};

    // Phase 3 (from 0.45): two water molecules, bobbing gently.
    Atoms after;
    after.bondedAsWater = true;
    for (int w = 0; w < 2; ++w) {
        const double bob = 7 * std::sin(2 * kPi * (2 * t + w * 0.5));
        const QPointF o = waterCentre[w] + QPointF(0, bob);
        after.oxygen[w] = o;
        after.hydrogen[2 * w] = o + QPointF(-hOffset.x(), hOffset.y());
        after.hydrogen[2 * w + 1] = o + hOffset;
    }
    // Phase 2 (0.35 .. 0.45): the atoms move from the old partners to the new ones.
    const double react = Ease((t - 0.35) / 0.10);
    if (react <= 0) return before;
    if (react >= 1) return after;
    for (int i = 0; i < 4; ++i) atoms.hydrogen[i] = Mix(before.hydrogen[i], after.hydrogen[i], react);
    for (int i = 0; i < 2; ++i) atoms.oxygen[i] = Mix(before.oxygen[i], after.oxygen[i], react);
    atoms.bondedAsWater = react > 0.5;
    return atoms;
}

QImage DrawFrame(int frame) {
    const double t = static_cast<double>(frame) / kFrames;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // A faint benzene ring behind everything.
    painter.setPen(QPen(kBackground.lighter(125), 3));
    painter.setBrush(Qt::NoBrush);
    QPolygonF ring;
    for (int k = 0; k < 6; ++k)
        ring << QPointF(230 + 95 * std::cos(kPi / 6 + k * kPi / 3), 190 + 95 * std::sin(kPi / 6 + k * kPi / 3));
    painter.drawPolygon(ring);
    painter.drawEllipse(QPointF(230, 190), 62, 62);

    // Bubbles rise with whole-number speeds, so the last frame leads into the first.
    for (int b = 0; b < 12; ++b) {
        const double phase = std::fmod(t * (1 + b % 3) + b * 0.37, 1.0);
        const double x = 20 + b * 38 + 8 * std::sin(2 * kPi * (t * 2 + b * 0.23));
        const double y = kHeight + 10 - phase * (kHeight + 20);
        const double r = 3 + b % 4;
        painter.setOpacity(0.55);
        painter.setPen(QPen(QColor(150, 200, 240), 1.5));
        painter.setBrush(QColor(90, 140, 200));
        painter.drawEllipse(QPointF(x, y), r, r);
    }
    painter.setOpacity(1);

    // Everything below fades out at the end so that the loop starts afresh.
    const double fade = 1 - Ease((t - 0.88) / 0.10);
    const Atoms atoms = AtomsAt(t);

    // The flash of the reaction.
    const double flash = Clamp01(1 - std::abs(t - 0.40) / 0.06);
    if (flash > 0) {
        painter.setOpacity(flash * 0.8);
        painter.setPen(QPen(QColor(255, 220, 120), 4));
        painter.setBrush(Qt::NoBrush);
        const double radius = 20 + (1 - flash) * 90;
        painter.drawEllipse(QPointF(230, 185), radius, radius);
    }

    if (atoms.bondedAsWater) {
        for (int w = 0; w < 2; ++w) {
            DrawBond(painter, atoms.oxygen[w], atoms.hydrogen[2 * w], fade);
            DrawBond(painter, atoms.oxygen[w], atoms.hydrogen[2 * w + 1], fade);
        }
    } else {
        DrawBond(painter, atoms.hydrogen[0], atoms.hydrogen[1], fade);
        DrawBond(painter, atoms.hydrogen[2], atoms.hydrogen[3], fade);
        DrawBond(painter, atoms.oxygen[0], atoms.oxygen[1], fade);
    }
    for (const QPointF& o : atoms.oxygen) DrawAtom(painter, o, 22, kOxygen, fade);
    for (const QPointF& h : atoms.hydrogen) DrawAtom(painter, h, 14, kHydrogen, fade);

    // The balanced equation.
    const double words = Ease((t - 0.48) / 0.12) * fade;
    if (words > 0) {
        painter.setOpacity(words);
        painter.setPen(QColor(255, 230, 150));
        painter.setFont(BoldFont(30));
        painter.drawText(QRectF(0, 260, kWidth, 50), Qt::AlignCenter, QStringLiteral("2H₂ + O₂ = 2H₂O"));
    }
    // The title stays on top of the molecules that pass under it.
    painter.setOpacity(1);
    painter.setPen(QColor(255, 255, 255));
    painter.setFont(BoldFont(26));
    painter.drawText(QRectF(0, 12, kWidth, 40), Qt::AlignCenter, QStringLiteral("Qivara方程式配平器"));
    painter.end();
    return image;
}

// One palette for all frames: the 256 most frequent colours at 5 bits per channel, each the
// mean of the colours that fell into its cell.
struct Palette {
    std::vector<QRgb> colours;
    std::vector<unsigned char> cellToIndex;  // 32768 cells
};

int Cell(QRgb c) { return ((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3); }

Palette MakePalette(const std::vector<QImage>& frames) {
    std::vector<std::array<std::uint64_t, 4>> cells(32768, {0, 0, 0, 0});
    for (const QImage& frame : frames) {
        for (int y = 0; y < kHeight; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
            for (int x = 0; x < kWidth; ++x) {
                auto& cell = cells[Cell(row[x])];
                cell[0] += qRed(row[x]);
                cell[1] += qGreen(row[x]);
                cell[2] += qBlue(row[x]);
                cell[3] += 1;
            }
        }
    }
    std::vector<int> order;
    for (int i = 0; i < 32768; ++i) {
        if (cells[i][3] > 0) order.push_back(i);
    }
    std::sort(order.begin(), order.end(), [&](int a, int b) { return cells[a][3] > cells[b][3]; });
    order.resize(std::min<std::size_t>(order.size(), 256));
    Palette palette;
    for (int i : order) {
        const auto& cell = cells[i];
        palette.colours.push_back(qRgb(int(cell[0] / cell[3]), int(cell[1] / cell[3]), int(cell[2] / cell[3])));
    }
    palette.cellToIndex.resize(32768);
    for (int cell = 0; cell < 32768; ++cell) {
        const int r = ((cell >> 10) << 3) + 4, g = (((cell >> 5) & 31) << 3) + 4, b = ((cell & 31) << 3) + 4;
        int best = 0;
        long bestDistance = -1;
        for (std::size_t i = 0; i < palette.colours.size(); ++i) {
            const QRgb c = palette.colours[i];
            const long d = (qRed(c) - r) * (qRed(c) - r) * 3 + (qGreen(c) - g) * (qGreen(c) - g) * 4 +
                           (qBlue(c) - b) * (qBlue(c) - b) * 2;
            if (bestDistance < 0 || d < bestDistance) {
                bestDistance = d;
                best = static_cast<int>(i);
            }
        }
        palette.cellToIndex[cell] = static_cast<unsigned char>(best);
    }
    return palette;
}

bool Check(int status, GifFileType* gif, const char* what) {
    if (status == GIF_OK) return true;
    std::fprintf(stderr, "giflib failed at %s: %s\n", what, GifErrorString(gif ? gif->Error : 0));
    return false;
}

bool WriteGif(const char* path, const std::vector<QImage>& frames, const Palette& palette) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path, false, &error);
    if (!gif) {
        std::fprintf(stderr, "cannot open %s: %s\n", path, GifErrorString(error));
        return false;
    }
    EGifSetGifVersion(gif, true);
    std::vector<GifColorType> colours(256, GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < palette.colours.size(); ++i) {
        colours[i] = GifColorType{static_cast<GifByteType>(qRed(palette.colours[i])),
                                  static_cast<GifByteType>(qGreen(palette.colours[i])),
                                  static_cast<GifByteType>(qBlue(palette.colours[i]))};
    }
    ColorMapObject* map = GifMakeMapObject(256, colours.data());
    bool ok = Check(EGifPutScreenDesc(gif, kWidth, kHeight, 8, 0, map), gif, "screen");
    // The NETSCAPE2.0 block with a loop count of 0: repeat without end.
    const unsigned char loop[3] = {1, 0, 0};
    ok = ok && Check(EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE), gif, "loop") &&
         Check(EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0"), gif, "loop") &&
         Check(EGifPutExtensionBlock(gif, 3, loop), gif, "loop") && Check(EGifPutExtensionTrailer(gif), gif, "loop");
    std::vector<GifPixelType> line(kWidth);
    for (const QImage& frame : frames) {
        if (!ok) break;
        GraphicsControlBlock control{DISPOSE_DO_NOT, false, kFrameCentiseconds, NO_TRANSPARENT_COLOR};
        GifByteType extension[4];
        const std::size_t length = EGifGCBToExtension(&control, extension);
        ok = Check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension), gif,
                   "frame time") &&
             Check(EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr), gif, "frame");
        for (int y = 0; ok && y < kHeight; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
            for (int x = 0; x < kWidth; ++x) line[x] = palette.cellToIndex[Cell(row[x])];
            ok = Check(EGifPutLine(gif, line.data(), kWidth), gif, "line");
        }
    }
    GifFreeMapObject(map);
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}

QImage DrawIcon() {
    QImage icon(128, 128, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBackground);
    painter.drawRoundedRect(QRectF(4, 4, 120, 120), 24, 24);
    const QPointF o(64, 56), h1(34, 82), h2(94, 82);
    DrawBond(painter, o, h1, 1);
    DrawBond(painter, o, h2, 1);
    DrawAtom(painter, o, 26, kOxygen, 1);
    DrawAtom(painter, h1, 17, kHydrogen, 1);
    DrawAtom(painter, h2, 17, kHydrogen, 1);
    return icon;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ANIMATION.gif ICON.png\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    std::vector<QImage> frames;
    for (int frame = 0; frame < kFrames; ++frame) frames.push_back(DrawFrame(frame));
    if (!WriteGif(argv[1], frames, MakePalette(frames))) return 1;
    if (!DrawIcon().save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
