#include "MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <algorithm>
#include <system_error>

#include "ByteLengthValidator.h"
#include "Encoding.h"
#include "FatalError.h"
#include "FatalErrorBox.h"
#include "InputFilter.h"
#include "KeyboardOrder.h"
#include "LimitClamp.h"
#include "Links.h"
#include "QtText.h"
#include "Text.h"
#include "UsageWindow.h"
#include "WindowControls.h"
#include "WindowGeometry.h"
#include "WindowThreadInbox.h"
#include "WorkerBridge.h"
#include "job/BalanceJob.h"
#include "job/MainWindowControls.h"

namespace qivara::ui {
namespace {

constexpr int kEquationMaxBytes = 256;  // characters while the extended language is on
constexpr int kLimitBoxMaxCharacters = 2;
const QColor kWindowColour(192, 192, 192);
const QColor kGroupBoxColour(205, 205, 205);

// The 14 px regular font in the default face that most controls use.
QFont SmallFont() {
    QFont font = QApplication::font();
    font.setPixelSize(14);
    font.setWeight(QFont::Normal);
    return font;
}

template <typename Widget>
Widget* Place(Widget* widget, const QString& name, const QRect& geometry, bool smallFont) {
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    if (smallFont) widget->setFont(SmallFont());
    return widget;
}

// Paints the whole of `widget` in `colour`. A button's background role is Button; the window role
// is set for every widget so that a radio button paints its whole box, not only its indicator.
void Fill(QWidget& widget, const QColor& colour) {
    widget.setBackgroundRole(QPalette::Window);
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

QLineEdit* MakeEditBox(QWidget* parent, const controls::Control& control, const QRect& geometry) {
    auto* edit = Place(new QLineEdit(QString::fromUtf8(control.initial), parent), QString::fromUtf8(control.name),
                       geometry, true);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    edit->setPalette(palette);
    return edit;
}

QPushButton* MakeButton(QWidget* parent, const controls::Control& control, const QRect& geometry, bool smallFont) {
    return Place(new QPushButton(QString::fromUtf8(control.initial), parent), QString::fromUtf8(control.name), geometry,
                 smallFont);
}

// `label` names `control` for assistive technology: it becomes the label's buddy, and the
// control's accessible name is the label's text without its closing colon.
void NameAfterLabel(QLabel& label, QWidget& control) {
    label.setBuddy(&control);
    QString name = label.text();
    if (name.endsWith(QStringLiteral("：")) || name.endsWith(QLatin1Char(':'))) name.chop(1);
    control.setAccessibleName(name);
}

// The result box is one line that shows about 30 characters: its tooltip and accessible
// description list every solution on a line of its own.
void ListSolutionsBesides(QLineEdit& result) {
    QObject::connect(&result, &QLineEdit::textChanged, &result, [&result](const QString& text) {
        QString lines = text;
        lines.replace(QStringFromCp936(std::string(kFullWidthSpace)), QStringLiteral("\n"));
        result.setToolTip(lines);
        result.setAccessibleDescription(lines);
    });
}

}  // namespace

MainWindow::MainWindow(MessageBoxPresenter presenter, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_controls(std::make_unique<WindowControls>(*this, std::move(presenter))),
      m_inbox(new WindowThreadInbox(this)) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Qivara方程式配平器"));
    Fill(*this, kWindowColour);
    BuildControls();
    FixAndCentre(*this, ClientSizeFor(kMainWindowOuter), kMainWindowOuter);
}

MainWindow::~MainWindow() { StopAndJoinAll(); }

void MainWindow::BuildControls() {
    using namespace controls;
    auto* pages = Place(new QStackedWidget(this), QString::fromUtf8(kPageContainer.name), QRect(0, 0, 672, 296), false);
    Fill(*pages, palette().color(QPalette::Button));

    auto* mainPage = new QWidget(pages);
    mainPage->setObjectName(QStringLiteral("MainPage"));
    auto* settingsPage = new QWidget(pages);
    settingsPage->setObjectName(QStringLiteral("SettingsPage"));
    pages->addWidget(mainPage);
    pages->addWidget(settingsPage);
    pages->setCurrentIndex(0);

    // Main page.
    auto* link = new MakerLink(QStringLiteral("关于Qivara科技"), mainPage);
    Place(link, QStringLiteral("超级"), QRect(176, 8, 96, 32), false);
    auto* equationLabel = Place(new QLabel(QStringLiteral("欲配平方程式"), mainPage), QStringLiteral("标签1"),
                                QRect(8, 24, 128, 24), false);
    QLineEdit* equation = MakeEditBox(mainPage, kEquationBox, QRect(8, 48, 288, 48));
    NameAfterLabel(*equationLabel, *equation);
    equation->setAccessibleDescription(QStringLiteral("两边用=连接，物质之间用+连接，例如 H2+O2=H2O"));
    auto* lengthLimit = new ByteLengthValidator(kEquationMaxBytes, equation);
    equation->setValidator(lengthLimit);
    equation->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    InstallInputFilter(*equation);
    connect(equation, &QLineEdit::textChanged, this, &MainWindow::EquationChanged);
    auto* resultLabel =
        Place(new QLabel(QStringLiteral("配平结果"), mainPage), QStringLiteral("标签2"), QRect(8, 104, 88, 16), false);
    QLineEdit* result = MakeEditBox(mainPage, kResultBox, QRect(8, 120, 288, 56));
    NameAfterLabel(*resultLabel, *result);
    ListSolutionsBesides(*result);
    result->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetInputMode(*result, kInputReadOnly);
    auto* startStop = MakeButton(mainPage, kStartStopButton, QRect(96, 256, 80, 32), true);
    startStop->setAccessibleDescription(QStringLiteral("配平：按一次变为开始；开始：配平方程式；停止：停止配平"));
    connect(startStop, &QPushButton::clicked, this, &MainWindow::StartStopHandler);
    auto* usage = MakeButton(mainPage, kUsageButton, QRect(184, 256, 80, 32), false);
    usage->setAccessibleDescription(QStringLiteral("打开使用方法窗口"));
    connect(usage, &QPushButton::clicked, this, &MainWindow::OpenUsageWindow);

    // Settings page. The two group boxes overlap by 24 px; the second lies above the first.
    auto* basic = Place(new QGroupBox(QStringLiteral("基本设置"), settingsPage), QStringLiteral("分组框1"),
                        QRect(8, 24, 248, 128), true);
    Fill(*basic, kGroupBoxColour);
    auto* coefficientLabel =
        Place(new QLabel(QStringLiteral("系数上限："), basic), QStringLiteral("标签3"), QRect(24, 32, 80, 24), true);
    auto* resultsLabel =
        Place(new QLabel(QStringLiteral("结果上限："), basic), QStringLiteral("标签4"), QRect(24, 72, 80, 24), true);
    Fill(*coefficientLabel, kGroupBoxColour);
    Fill(*resultsLabel, kGroupBoxColour);
    QList<QWidget*> limitEdits;
    for (const auto& [box, label] :
         {std::pair{&kCoefficientLimitBox, coefficientLabel}, std::pair{&kResultLimitBox, resultsLabel}}) {
        QLineEdit* edit = MakeEditBox(basic, *box, QRect(120, label->y(), 96, 24));
        NameAfterLabel(*label, *edit);
        edit->setAccessibleDescription(QStringLiteral("%1到%2").arg(box->lowest).arg(box->highest));
        limitEdits.append(edit);
        edit->setMaxLength(kLimitBoxMaxCharacters);
        edit->setAlignment(Qt::AlignCenter);
        SetInputMode(*edit, kInputInteger);
        InstallLimitBoxFilter(*edit);
        new LimitClampOnFocusOut(*edit, box->lowest, box->highest);
    }
    auto* display = Place(new QGroupBox(QStringLiteral("结果显示"), settingsPage), QStringLiteral("分组框2"),
                          QRect(8, 128, 248, 128), true);
    Fill(*display, kGroupBoxColour);
    auto* coefficientsOnly = Place(new QRadioButton(QString::fromUtf8(kCoefficientsOnlyRadio.initial), display),
                                   QString::fromUtf8(kCoefficientsOnlyRadio.name), QRect(24, 32, 200, 24), true);
    auto* balancedEquation = Place(new QRadioButton(QString::fromUtf8(kBalancedEquationRadio.initial), display),
                                   QString::fromUtf8(kBalancedEquationRadio.name), QRect(24, 72, 200, 24), true);
    Fill(*coefficientsOnly, kGroupBoxColour);
    Fill(*balancedEquation, kGroupBoxColour);
    balancedEquation->setChecked(true);  // the two share their parent, so Qt keeps them exclusive

    // The opt-in extended language, beside the settings button: off at start. It takes no Tab
    // stop, so the settings page's keyboard order stays as it is.
    m_extendedSyntax = Place(new QCheckBox(QStringLiteral("扩展语法"), settingsPage), QStringLiteral("复选框1"),
                             QRect(96, 256, 200, 32), true);
    m_extendedSyntax->setFocusPolicy(Qt::ClickFocus);
    connect(m_extendedSyntax, &QCheckBox::toggled, this, [equation, lengthLimit](bool on) {
        SetExtendedTyping(*equation, on);
        lengthLimit->SetCountCharacters(on);
    });

    // The settings button lies on the window, above the pages, and shows on both.
    auto* settings = MakeButton(this, kSettingsButton, QRect(8, 256, 80, 32), true);
    settings->setAccessibleDescription(QStringLiteral("在主页和设置页之间切换"));
    settings->raise();
    connect(settings, &QPushButton::clicked, this, &MainWindow::SettingsToggle);

    // Tab follows the layout table; typing right after start-up lands in the equation box.
    SetKeyboardOrder({settings, link, equation, result, startStop, usage, limitEdits[0], limitEdits[1],
                      coefficientsOnly, balancedEquation});
    equation->setFocus();
}

void MainWindow::SetMessageBoxPresenter(MessageBoxPresenter presenter) {
    m_controls->SetMessageBoxPresenter(std::move(presenter));
}

void MainWindow::SettingsToggle() {
    using namespace controls;
    if (m_controls->ReadInteger(kPageContainer, Property::CurrentPage) == 0) {
        m_controls->WriteProperty(kSettingsButton, Property::Caption, Cp936FromUtf8(kBackCaption));
        m_controls->WriteProperty(kPageContainer, Property::CurrentPage, 1);
    } else {
        m_controls->WriteProperty(kSettingsButton, Property::Caption, Cp936FromUtf8(kSettingsButton.initial));
        m_controls->WriteProperty(kPageContainer, Property::CurrentPage, 0);
    }
}

void MainWindow::EquationChanged() {
    if (!m_controls->ReadText(controls::kResultBox, Property::Content).empty()) {
        m_controls->WriteProperty(controls::kResultBox, Property::Content, std::string());
    }
}

void MainWindow::StartStopHandler() {
    // Only "开始" starts a job. Any other caption takes the stop path, on purpose: the button
    // starts as "配平", so the first click after start-up stops nothing and only makes it "开始".
    const std::string caption = m_controls->ReadText(controls::kStartStopButton, Property::Caption);
    if (TextCompare(caption, Cp936FromUtf8(controls::kStartCaption)) == 0) {
        StartJob();
    } else {
        StopJob();
    }
}

void MainWindow::StartJob() {
    using namespace controls;
    m_controls->WriteProperty(kStartStopButton, Property::ButtonType, 0);
    m_controls->WriteProperty(kSettingsButton, Property::Disabled, 1);
    m_controls->WriteProperty(kEquationBox, Property::InputMode, kInputReadOnly);
    m_controls->WriteProperty(kResultBox, Property::Content, std::string());

    // A job that restored the idle window but has not ended yet must not touch the new job's
    // window: stopping it refuses whatever it still asks for.
    RetireCurrent();
    const std::uint64_t id = m_nextJobId++;
    WindowControls* windowControls = m_controls.get();
    WindowThreadInbox* inbox = m_inbox;
    try {
        const FormulaSyntax syntax = m_extendedSyntax->isChecked() ? FormulaSyntax::Extended : FormulaSyntax::Standard;
        Worker worker;
        worker.id = id;
        worker.thread =
            std::make_unique<std::jthread>([this, id, windowControls, inbox, ended = worker.ended, engine = m_engine,
                                            onExamined = m_onExamined, syntax](std::stop_token stop) {
                FinishKind kind = FinishKind::Stopped;
                try {
                    WorkerBridge window(*inbox, *windowControls, stop, syntax == FormulaSyntax::Extended);
                    kind = BalanceJob(window, JobOptions{engine, stop, onExamined, syntax}).kind;
                } catch (const std::exception& error) {
                    RaiseFatalError(0, error.what());
                }
                // This window outlives its workers (the destructor joins them), so posting to it is
                // safe.
                inbox->Post([this, id, kind] { OnWorkerEnded(id, kind); });
                ended->store(true);
                WakeFatalErrorWait();
            });
        m_current = std::move(worker);
    } catch (const std::system_error&) {
        // No worker could be made: the window still shows the running state, and the next
        // click on the start button, now "停止", returns it to idle.
    }

    m_controls->WriteProperty(kStartStopButton, Property::Caption, Cp936FromUtf8(kStopCaption));
}

void MainWindow::StopJob() {
    const bool hadJob = m_current.has_value();
    RetireCurrent();
    FinishJob(*m_controls, FinishKind::Stopped);
    if (hadJob) emit jobEnded(static_cast<int>(FinishKind::Stopped));
}

void MainWindow::RetireCurrent() {
    if (!m_current) return;
    m_current->thread->request_stop();
    m_retiring.push_back(std::move(*m_current));
    m_current.reset();
}

void MainWindow::OnWorkerEnded(std::uint64_t id, FinishKind kind) {
    if (m_current && m_current->id == id) {
        m_current->thread->join();
        m_current.reset();
        emit jobEnded(static_cast<int>(kind));
        return;
    }
    for (auto worker = m_retiring.begin(); worker != m_retiring.end(); ++worker) {
        if (worker->id == id) {
            worker->thread->join();
            m_retiring.erase(worker);
            return;
        }
    }
}

void MainWindow::StopAndJoinAll() {
    RetireCurrent();
    for (Worker& worker : m_retiring) worker.thread->request_stop();
    // A worker waiting on the window's thread is woken by the stop; one inside the search sees it
    // at its next poll, between two examined vectors; one that raised a fatal error waits for its
    // box, which the wait shows.
    WaitServingFatalErrors([this] {
        return std::all_of(m_retiring.begin(), m_retiring.end(),
                           [](const Worker& worker) { return worker.ended->load(); });
    });
    for (Worker& worker : m_retiring) worker.thread->join();
    m_retiring.clear();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    StopAndJoinAll();
    // A closing message box still open belongs to a job that is now stopped.
    for (QMessageBox* box : findChildren<QMessageBox*>()) box->reject();
    event->accept();
}

void MainWindow::OpenUsageWindow() {
    UsageWindow usage;
    usage.exec();
}

}  // namespace qivara::ui
