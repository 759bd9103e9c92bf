// The embedded pictures: the animation's frames and timing, the demonstration decoded by libjpeg.
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QMovie>

#include "JpegImage.h"
#include "Pictures.h"
#include "UiTestSupport.h"
#include "UsageWindow.h"

namespace qivara::test {
namespace {

TEST(Pictures, AnimationHas157FramesOf50MsRepeatingWithoutEnd) {
    QImageReader reader(QString::fromLatin1(kAnimationResource));
    ASSERT_TRUE(reader.canRead());
    EXPECT_EQ(reader.format(), QByteArray("gif"));
    EXPECT_EQ(reader.imageCount(), 157);
    EXPECT_EQ(reader.loopCount(), -1) << "endless";
    int frames = 0;
    for (QImage frame = reader.read(); !frame.isNull(); frame = reader.read(), ++frames) {
        EXPECT_EQ(frame.size(), QSize(460, 340)) << frames;
        EXPECT_EQ(reader.nextImageDelay(), 50) << frames;
    }
    EXPECT_EQ(frames, 157);
}

TEST(Pictures, DemonstrationDecodesWithLibjpeg) {
    QFile file(QString::fromLatin1(kDemonstrationResource));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QImage picture = DecodeJpeg(file.readAll());
    EXPECT_EQ(picture.size(), QSize(321, 328));
}

TEST(Pictures, BrokenJpegGivesANullImage) {
    EXPECT_TRUE(DecodeJpeg(QByteArray()).isNull());
    EXPECT_TRUE(DecodeJpeg(QByteArray("not a picture")).isNull());
}

TEST(Pictures, UsageWindowShowsBothPictures) {
    UsageWindow usage;
    const auto* animation = usage.findChild<QLabel*>(Q("图片框2"));
    const auto* demonstration = usage.findChild<QLabel*>(Q("图片框1"));
    ASSERT_TRUE(animation && demonstration);
    ASSERT_TRUE(animation->movie());
    EXPECT_EQ(animation->movie()->state(), QMovie::Running);
    const QPixmap shown = demonstration->pixmap();
    ASSERT_FALSE(shown.isNull());
    EXPECT_LE(shown.width(), demonstration->width());
    EXPECT_LE(shown.height(), demonstration->height());
}

}  // namespace
}  // namespace qivara::test
