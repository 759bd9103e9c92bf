// What typing, pasting and leaving the boxes does: InputFilter, the limit boxes' guard and clamp,
// the equation box's byte limit, and the settings button.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include "ByteLengthValidator.h"
#include "InputFilter.h"
#include "LimitClamp.h"
#include "Links.h"
#include "QtText.h"
#include "TableRows.h"
#include "UiTestSupport.h"
#include "job/MainWindowControls.h"
#include "job/MakerAddress.h"

namespace qivara::test {
namespace {

using namespace controls;

class Typing : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    // Types `text` into a box that starts as `before`, character by character, as key presses.
    QString TypeInto(std::string_view box, const QString& before, const QString& text) {
        QLineEdit& edit = Edit(box);
        edit.setText(before);
        edit.setFocus();
        edit.end(false);
        for (const QChar character : text) {
            if (character.unicode() < 0x80) {
                QTest::keyClick(&edit, character.toLatin1());
            } else {  // as a keyboard layout or an input method's key would type it
                QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(character), Qt::NoModifier);
            }
        }
        return edit.text();
    }
    void ShowSettingsPage() {
        if (window->findChild<QStackedWidget*>(Q(kPageContainer))->currentIndex() == 0) Click(kSettingsButton);
    }
};

struct TypingCase {
    const char* name;
    const char* typed;
    const char* expected;   // what 编辑框1 holds after typing into "H2"
    bool extended = false;  // 扩展语法 ticked
};
// Names the row in test output instead of dumping its bytes.

class EquationTyping : public Typing, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(EquationTyping, InputFilterKeepsOnlyTheAllowedSet) {
    window->findChild<QCheckBox*>(Q("复选框1"))->setChecked(GetParam().extended);
    EXPECT_EQ(TypeInto(kEquationBox, Q("H2"), Q(GetParam().typed)), Q(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Window, EquationTyping,
    ::testing::Values(TypingCase{"Letters", "aZqB", "H2aZqB"}, TypingCase{"Digits", "0123456789", "H20123456789"},
                      TypingCase{"BracketsPlusEquals", "(OH)+=", "H2(OH)+="}, TypingCase{"Space", " ", "H2"},
                      TypingCase{"SquareBrackets", "[]{}", "H2"}, TypingCase{"Punctuation", "-*.,_^", "H2"},
                      TypingCase{"NonAscii", "中é２", "H2"}, TypingCase{"Mixed", "O 2[x]", "H2O2x"},
                      TypingCase{"ExtendedTakesEveryCharacter", "²⁺ ＋[e]·△^-", "H2²⁺ ＋[e]·△^-", true}),
    RowName());

TEST_F(Typing, BackspaceAndEditingKeysStillWork) {
    QLineEdit& edit = Edit(kEquationBox);
    edit.setText(Q("H2O2"));
    edit.setFocus();
    edit.end(false);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), Q("H2O"));
    QTest::keyClick(&edit, Qt::Key_Home);
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_EQ(edit.text(), Q("2O"));
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(edit.selectedText(), Q("2O"));
}

TEST_F(Typing, PastedTextIsNotFilteredButKeepsTheByteLimit) {
    QLineEdit& edit = Edit(kEquationBox);
    edit.clear();
    edit.setFocus();
    QApplication::clipboard()->setText(Q("H2 + O2 = [H2O]"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), Q("H2 + O2 = [H2O]"));

    // 200 ASCII bytes, then 40 double-byte characters of which only 28 fit into 256 bytes.
    edit.clear();
    QApplication::clipboard()->setText(QString(200, QLatin1Char('A')) + QString(40, QChar(0x6C34)));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QString(200, QLatin1Char('A')) + QString(28, QChar(0x6C34)));
    EXPECT_EQ(Cp936Length(edit.text()), 256);
}

TEST_F(Typing, EquationBoxTakesNoKeystrokeBeyond256Bytes) {
    const QString full(256, QLatin1Char('H'));
    EXPECT_EQ(TypeInto(kEquationBox, full, Q("O")), full);
    EXPECT_EQ(TypeInto(kEquationBox, QString(255, QLatin1Char('H')), Q("OO")), QString(255, QLatin1Char('H')) + Q("O"));
}

// With 扩展语法 ticked the limit counts characters: 256 double-byte characters fit, a 257th not.
TEST_F(Typing, ExtendedSyntaxLimitsCharactersNotBytes) {
    window->findChild<QCheckBox*>(Q("复选框1"))->setChecked(true);
    const QString full(256, QChar(0x6C34));
    EXPECT_EQ(TypeInto(kEquationBox, full.left(255), Q("水水")), full);
    window->findChild<QCheckBox*>(Q("复选框1"))->setChecked(false);
    EXPECT_EQ(TypeInto(kEquationBox, QString(), Q("H₂")), Q("H"));
}

TEST_F(Typing, ClipboardShortcutsWorkInTheEquationBox) {
    QLineEdit& edit = Edit(kEquationBox);
    edit.setText(Q("NaCl"));
    edit.setFocus();
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), Q("NaCl"));
    QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(edit.text().isEmpty());
    QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), Q("NaCl"));
}

struct LimitTypingCase {
    const char* name;
    const char* box;
    const char* before;
    const char* typed;
    const char* expected;
};
// Names the row in test output instead of dumping its bytes.

class LimitTyping : public Typing, public ::testing::WithParamInterface<LimitTypingCase> {};

TEST_P(LimitTyping, OnlyDigitsUpToTwo) {
    ShowSettingsPage();
    const LimitTypingCase& c = GetParam();
    EXPECT_EQ(TypeInto(c.box, Q(c.before), Q(c.typed)), Q(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Window, LimitTyping,
                         ::testing::Values(LimitTypingCase{"MinusDiscarded", "编辑框3", "", "-", ""},
                                           LimitTypingCase{"MinusBeforeDigits", "编辑框4", "", "-5", "5"},
                                           LimitTypingCase{"LettersAndSpace", "编辑框3", "", "a b+", ""},
                                           LimitTypingCase{"Digits", "编辑框3", "", "42", "42"},
                                           LimitTypingCase{"AtMostTwo", "编辑框4", "", "123", "12"},
                                           LimitTypingCase{"FullWidthDigit", "编辑框3", "", "１", ""}),
                         RowName());

struct ClampCase {
    const char* name;
    const char* box;
    const char* content;
    const char* expected;
};
// Names the row in test output instead of dumping its bytes.

class ClampOnLeaving : public Typing, public ::testing::WithParamInterface<ClampCase> {};

TEST_P(ClampOnLeaving, LimitClampRunsWhenTheBoxLosesFocus) {
    ShowSettingsPage();
    const ClampCase& c = GetParam();
    QLineEdit& box = Edit(c.box);
    box.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return box.hasFocus(); }, 5000));
    box.selectAll();
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClicks(&box, Q(c.content));
    EXPECT_EQ(box.text(), Q(c.content)) << "nothing is clamped while the box has focus";
    Radio(kBalancedEquationRadio).setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !box.hasFocus(); }, 5000));
    EXPECT_EQ(box.text(), Q(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Window, ClampOnLeaving,
                         ::testing::Values(ClampCase{"CoefficientAbove", "编辑框3", "99", "64"},
                                           ClampCase{"CoefficientEmpty", "编辑框3", "", "2"},
                                           ClampCase{"CoefficientBelow", "编辑框3", "1", "2"},
                                           ClampCase{"CoefficientInRange", "编辑框3", "30", "30"},
                                           ClampCase{"ResultZero", "编辑框4", "0", "1"},
                                           ClampCase{"ResultAbove", "编辑框4", "99", "16"},
                                           ClampCase{"ResultEmpty", "编辑框4", "", "1"},
                                           ClampCase{"ResultLeadingZero", "编辑框4", "07", "7"}),
                         RowName());

TEST(LimitClampText, ReadsTheBoxAsTheJobDoes) {
    const struct {
        const char* text;
        int lowest, highest;
        const char* expected;
    } cases[] = {{"１６", 2, 64, "16"},
                 {"ab", 1, 16, "1"},
                 {"-5", 1, 16, "1"},
                 {" 12x", 2, 64, "12"},
                 {"99999999999", 2, 64, "64"}};
    for (const auto& c : cases) {
        EXPECT_EQ(QStringFromCp936(LimitClamp(Cp936FromQString(Q(c.text)), c.lowest, c.highest)), Q(c.expected))
            << c.text;
    }
}

TEST(InputFilterCodes, CodeZeroAndBackspacePassControlCharactersDoNot) {
    EXPECT_TRUE(InputFilter(0));
    EXPECT_TRUE(InputFilter(8));
    for (int code : {9, 13, 27, 127, 0x80, 0xA3, 0xFF}) EXPECT_FALSE(InputFilter(code)) << code;
    EXPECT_TRUE(IntegerTextAccepts(8));
    EXPECT_FALSE(MinusDiscard('-'));
}

TEST(InputFilterCodes, ShortcutsAndEditingKeysAreCommands) {
    const QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, Q("\x16"));
    const QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    const QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, Q("\x7f"));
    EXPECT_FALSE(TypedCodes(paste).has_value());
    EXPECT_FALSE(TypedCodes(left).has_value());
    EXPECT_FALSE(TypedCodes(del).has_value());
    const QKeyEvent chinese(QEvent::KeyPress, 0, Qt::NoModifier, Q("中"));
    ASSERT_TRUE(TypedCodes(chinese).has_value());
    EXPECT_GE(TypedCodes(chinese)->front(), 0x80);
}

TEST(ByteLength, CutsWhatWasJustInserted) {
    ByteLengthValidator validator(6, nullptr);
    const struct {
        const char* input;
        int position;
        const char* expected;
        int expectedPosition;
    } cases[] = {{"abcdef", 6, "abcdef", 6},   {"abcXdef", 4, "abcdef", 3},  {"ab水水cd", 4, "ab水cd", 3},
                 {"abcdefgh", 8, "abcdef", 6}, {"水水水水", 4, "水水水", 3}, {"abXYZcdef", 2, "XYZcde", 0}};
    for (const auto& c : cases) {
        QString input = Q(c.input);
        int position = c.position;
        EXPECT_EQ(validator.validate(input, position), QValidator::Acceptable);
        EXPECT_EQ(input, Q(c.expected)) << c.input;
        EXPECT_EQ(position, c.expectedPosition) << c.input;
    }
}

struct FocusCase {
    const char* name;
    bool settingsPage;
    Qt::Key key;
    std::vector<const char*> visits;  // where each press of `key` takes the focus, in turn
};
// Names the row in test output instead of dumping its bytes.

class FocusOrder : public Typing, public ::testing::WithParamInterface<FocusCase> {};

// The focus starts in the equation box on the main page and on the settings button (pressed by
// keyboard) on the settings page; Tab and Shift+Tab walk the shown controls in layout order.
TEST_P(FocusOrder, TabWalksTheControlsInLayoutOrder) {
    const FocusCase& c = GetParam();
    ASSERT_EQ(QApplication::focusWidget(), &Edit(kEquationBox)) << "typing after start-up lands here";
    if (c.settingsPage) {
        Button(kSettingsButton).setFocus();
        QTest::keyClick(&Button(kSettingsButton), Qt::Key_Space);
        ASSERT_EQ(window->findChild<QStackedWidget*>(Q(kPageContainer))->currentIndex(), 1);
    }
    for (const char* expected : c.visits) {
        QTest::keyClick(QApplication::focusWidget(), c.key);
        ASSERT_TRUE(QApplication::focusWidget());
        EXPECT_EQ(QApplication::focusWidget()->objectName(), Q(expected));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Window, FocusOrder,
    ::testing::Values(
        FocusCase{"MainForward", false, Qt::Key_Tab, {"编辑框2", "按钮4", "按钮9", "按钮1", "超级", "编辑框1"}},
        FocusCase{"MainBackward", false, Qt::Key_Backtab, {"超级", "按钮1", "按钮9", "按钮4", "编辑框2", "编辑框1"}},
        FocusCase{"SettingsForward", true, Qt::Key_Tab, {"编辑框3", "编辑框4", "单选框1", "按钮1"}},
        FocusCase{"SettingsBackward", true, Qt::Key_Backtab, {"单选框2", "编辑框4", "编辑框3", "按钮1"}}),
    RowName());

// Type, Tab to the start button, Enter (relabels), Space (starts), Enter closes the message.
TEST_F(Typing, BalancingByKeyboardAlone) {
    bool closedByEnter = false;
    window->SetMessageBoxPresenter(
        [&](QWidget& owner, const QString& message, const QString& title, QMessageBox::Icon icon) {
            QTimer::singleShot(0, [] {
                if (QWidget* box = QApplication::activeModalWidget()) QTest::keyClick(box, Qt::Key_Return);
            });
            ShowModalMessageBox(owner, message, title, icon);
            closedByEnter = true;
        });
    QTest::keyClicks(QApplication::focusWidget(), Q("H2+O2=H2O"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), &Button(kStartStopButton));
    QTest::keyClick(&Button(kStartStopButton), Qt::Key_Return);
    EXPECT_EQ(Button(kStartStopButton).text(), Q(kStartCaption));
    QTest::keyClick(&Button(kStartStopButton), Qt::Key_Space);
    ASSERT_TRUE(WaitForJobEnd());
    EXPECT_TRUE(closedByEnter);
    EXPECT_EQ(Edit(kResultBox).text(), Q("2H2+O2=2H2O"));
}

struct LinkCase {
    const char* name;
    Qt::Key key;  // Qt::Key_unknown: a mouse click on the link's text
    bool opens;   // whether the desktop could open the address
};

class LinkUse : public Typing, public ::testing::WithParamInterface<LinkCase> {};

// The focused link opens the maker's address by the keys that press a button, as by a click;
// when the address cannot be opened a box says so and its text, address included, can be
// selected and copied.
TEST_P(LinkUse, OpensTheAddressOrSaysItCouldNot) {
    const LinkCase& c = GetParam();
    auto& link = Control<MakerLink>("超级");
    QList<QUrl> opened;
    link.SetOpener([&](const QUrl& url) {
        opened << url;
        return c.opens;
    });
    QString shown;
    Qt::TextInteractionFlags flags;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            flags = box->textInteractionFlags();
            box->accept();
        }
    });
    link.setFocus();
    if (c.key == Qt::Key_unknown) {
        QTest::mouseMove(&link, QPoint(20, link.height() / 2));
        QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(20, link.height() / 2));
    } else {
        QTest::keyClick(&link, c.key);
    }
    EXPECT_EQ(opened, QList<QUrl>{QUrl(Q(kMakerAddress))});
    if (c.opens) {
        EXPECT_TRUE(shown.isEmpty()) << shown.toStdString();
    } else {
        EXPECT_TRUE(shown.contains(Q(kMakerAddress))) << shown.toStdString();
        EXPECT_TRUE(flags & Qt::TextSelectableByMouse);
        EXPECT_TRUE(flags & Qt::TextSelectableByKeyboard);
    }
}

INSTANTIATE_TEST_SUITE_P(Window, LinkUse,
                         ::testing::Values(LinkCase{"Click", Qt::Key_unknown, true},
                                           LinkCase{"Return", Qt::Key_Return, true},
                                           LinkCase{"Enter", Qt::Key_Enter, true},
                                           LinkCase{"Space", Qt::Key_Space, true},
                                           LinkCase{"NoBrowser", Qt::Key_Return, false}),
                         RowName());

TEST_F(MainWindowTest, SettingsToggleTwiceReturnsToTheMainPage) {
    auto* pages = window->findChild<QStackedWidget*>(Q(kPageContainer));
    Click(kSettingsButton);
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_EQ(Button(kSettingsButton).text(), Q("返回"));
    EXPECT_TRUE(Button(kSettingsButton).isVisible());
    for (std::string_view hidden : {kStartStopButton, kUsageButton}) EXPECT_FALSE(Button(hidden).isVisible());
    EXPECT_FALSE(Edit(kEquationBox).isVisible());
    EXPECT_FALSE(Edit(kResultBox).isVisible());
    EXPECT_TRUE(Edit(kCoefficientLimitBox).isVisible());
    Click(kSettingsButton);
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(Button(kSettingsButton).text(), Q("设置"));
    EXPECT_TRUE(Edit(kEquationBox).isVisible());
}

}  // namespace
}  // namespace qivara::test
