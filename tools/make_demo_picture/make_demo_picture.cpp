// Renders the demonstration picture: the program's own main window, offscreen, after a real job
// on the example equation, inside a drawn title bar and frame, on a 321 x 328 canvas; encoded
// with libjpeg.
//
// usage: qivara-make-demo-picture DEMONSTRATION.jpg

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <cstdio>

// jpeglib.h uses size_t and FILE without declaring them: it must follow <cstdio>.
#include <jpeglib.h>

#include "MainWindow.h"
#include "WindowGeometry.h"
#include "job/MainWindowControls.h"

namespace {

constexpr int kPictureWidth = 321;
constexpr int kPictureHeight = 328;
constexpr char kEquation[] = "MnO2+KBr+H2SO4=MnSO4+KHSO4+Br2+H2O";
constexpr char kExpected[] = "MnO2+2KBr+3H2SO4=MnSO4+2KHSO4+Br2+2H2O";

template <typename Widget>
Widget& Find(const QWidget& window, std::string_view name) {
    auto* widget = window.findChild<Widget*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    if (!widget) {
        std::fprintf(stderr, "no control %.*s\n", static_cast<int>(name.size()), name.data());
        std::exit(1);
    }
    return *widget;
}

// A plain frame in the classic style the window's client size is laid out for.
QImage Framed(const QImage& client) {
    using namespace qivara::ui;
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    // A soft shadow fills the margin to the right of and below the window.
    for (int k = 5; k >= 1; --k) {
        painter.fillRect(QRect(2 + k, 2 + k, kMainWindowOuter.width(), kMainWindowOuter.height()), QColor(0, 0, 0, 18));
    }
    const QRect outer(0, 0, kMainWindowOuter.width(), kMainWindowOuter.height());
    painter.fillRect(outer, QColor(212, 208, 200));
    painter.setPen(QColor(64, 64, 64));
    painter.drawRect(outer.adjusted(0, 0, -1, -1));
    const QRect titleBar(kFrameBorder, kFrameBorder, outer.width() - 2 * kFrameBorder, kTitleBarHeight - 1);
    QLinearGradient caption(titleBar.topLeft(), titleBar.topRight());
    caption.setColorAt(0, QColor(10, 36, 106));
    caption.setColorAt(1, QColor(166, 202, 240));
    painter.fillRect(titleBar, caption);
    QFont font = QApplication::font();
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(titleBar.adjusted(4, 0, -40, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Qivara方程式配平器"));
    // Minimise and close boxes.
    for (int box = 0; box < 2; ++box) {
        const QRect r(titleBar.right() - 34 + box * 18, titleBar.top() + 2, 16, 14);
        painter.fillRect(r, QColor(212, 208, 200));
        painter.setPen(Qt::black);
        if (box == 0) {
            painter.drawLine(r.left() + 4, r.bottom() - 3, r.right() - 5, r.bottom() - 3);
        } else {
            painter.drawLine(r.left() + 4, r.top() + 3, r.right() - 5, r.bottom() - 3);
            painter.drawLine(r.right() - 5, r.top() + 3, r.left() + 4, r.bottom() - 3);
        }
    }
    painter.drawImage(QPoint(kFrameBorder, kFrameBorder + kTitleBarHeight), client);
    painter.end();
    return picture;
}

bool WriteJpeg(const char* path, const QImage& image) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);  // the default handler exits on a fatal error
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 92, TRUE);
    jpeg_start_compress(&info, TRUE);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DEMONSTRATION.jpg\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    using namespace qivara;
    ui::MainWindow window([](QWidget&, const QString&, const QString&, QMessageBox::Icon) {});
    window.show();

    Find<QLineEdit>(window, controls::kEquationBox).setText(QString::fromLatin1(kEquation));
    auto& start = Find<QPushButton>(window, controls::kStartStopButton);
    QTest::mouseClick(&start, Qt::LeftButton);  // the first click only relabels the button
    QTest::mouseClick(&start, Qt::LeftButton);
    const auto& result = Find<QLineEdit>(window, controls::kResultBox);
    if (!QTest::qWaitFor([&] { return !window.JobRunning(); }, 60000) ||
        result.text() != QString::fromLatin1(kExpected)) {
        std::fprintf(stderr, "the job did not give %s\n", kExpected);
        return 1;
    }
    Find<QLineEdit>(window, controls::kEquationBox).setCursorPosition(0);
    QTest::qWait(50);
    const QImage client = window.grab().toImage();
    if (!WriteJpeg(argv[1], Framed(client))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
