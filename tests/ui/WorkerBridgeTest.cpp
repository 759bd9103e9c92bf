// The worker-side window: requests carried out on the window's thread, refused after a stop, and
// a waiting worker released by a stop.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <future>
#include <thread>

#include "UiTestSupport.h"
#include "WindowControls.h"
#include "WorkerBridge.h"
#include "job/MainWindowControls.h"
#include "job/StopCheckedWindow.h"

namespace qivara::test {
namespace {

using namespace controls;

// Runs `work` on a worker thread with a bridge to the test window, keeping the window's thread
// turning until the worker is done; returns how the worker ended.
enum class Ending { Returned, Stopped, Threw };

Ending RunOnWorker(MainWindow& window, std::stop_source& stop, const std::function<void(WindowAccess&)>& work) {
    std::promise<Ending> ended;
    auto result = ended.get_future();
    std::jthread worker([&] {
        WorkerBridge bridge(window.Inbox(), window.Controls(), stop.get_token());
        try {
            work(bridge);
            ended.set_value(Ending::Returned);
        } catch (const JobStopped&) {
            ended.set_value(Ending::Stopped);
        } catch (const std::logic_error&) {
            ended.set_value(Ending::Threw);
        }
    });
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 30000));
    return result.get();
}

TEST_F(MainWindowTest, BridgeCarriesOutReadsAndWritesOnTheWindowThread) {
    std::stop_source stop;
    std::string read;
    const Ending ending = RunOnWorker(*window, stop, [&](WindowAccess& access) {
        read = access.ReadText(kCoefficientLimitBox, Property::Content);
        access.WriteProperty(kResultBox, Property::Content, std::string("2H2+O2=2H2O"));
        access.WriteProperty(kStartStopButton, Property::ButtonType, 1);
    });
    EXPECT_EQ(ending, Ending::Returned);
    EXPECT_EQ(read, "16");
    EXPECT_EQ(Edit(kResultBox).text(), Q("2H2+O2=2H2O"));
    EXPECT_TRUE(Button(kStartStopButton).isDefault());
}

TEST_F(MainWindowTest, BridgeHandsBackTheWindowsErrors) {
    std::stop_source stop;
    EXPECT_EQ(
        RunOnWorker(*window, stop, [](WindowAccess& access) { access.ReadProperty("编辑框99", Property::Content); }),
        Ending::Threw);
    EXPECT_EQ(RunOnWorker(*window, stop,
                          [](WindowAccess& access) { access.ReadProperty(kStartStopButton, Property::CurrentPage); }),
              Ending::Threw);
}

TEST_F(MainWindowTest, BridgeRefusesEveryRequestAfterAStop) {
    std::stop_source stop;
    stop.request_stop();
    EXPECT_EQ(RunOnWorker(*window, stop,
                          [](WindowAccess& access) {
                              access.WriteProperty(kResultBox, Property::Content, std::string("late"));
                          }),
              Ending::Stopped);
    EXPECT_TRUE(Edit(kResultBox).text().isEmpty());
}

// A stop requested on the window's thread between the post and its execution: the window's
// thread sees it first and refuses, so the write never lands.
TEST_F(MainWindowTest, BridgeRefusesARequestStoppedBeforeTheWindowTookIt) {
    std::stop_source stop;
    std::promise<void> posted;
    std::jthread worker([&] {
        WorkerBridge bridge(window->Inbox(), window->Controls(), stop.get_token());
        try {
            posted.set_value();
            bridge.WriteProperty(kResultBox, Property::Content, std::string("late"));
        } catch (const JobStopped&) {
        }
    });
    posted.get_future().wait();
    // The window's thread has not turned yet: the request, if already posted, waits in its queue.
    stop.request_stop();
    worker.join();
    QTest::qWait(20);  // any request still queued runs now, and must be refused
    EXPECT_TRUE(Edit(kResultBox).text().isEmpty());
}

}  // namespace
}  // namespace qivara::test
