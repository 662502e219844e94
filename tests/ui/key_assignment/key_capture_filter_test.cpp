// The key capture on its own, as the macro recorder uses it: presses and releases reported with
// their keys, only for the captured window, only while wanted and active.

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>

#include <vector>

#include "key_events.h"
#include "ui/key_assignment/key_capture_filter.h"

namespace kovantis {
namespace {

using testing::DeliverKey;
using testing::ShowActive;

struct Seen {
    KeyCode code;
    bool release;
    CaptureAction action;
};

class KeyCaptureFilterTest : public ::testing::Test {
protected:
    KeyCaptureFilterTest()
    {
        auto* layout = new QVBoxLayout(&window);
        field = new QLineEdit(&window);
        layout->addWidget(field);
        filter = new ui::KeyCaptureFilter(window, [this](const KeyEventFacts& facts, const CaptureDecision& decision) {
            seen.push_back({decision.code, facts.release, decision.action});
        });
    }

    QWidget window;
    QLineEdit* field = nullptr;
    ui::KeyCaptureFilter* filter = nullptr;
    std::vector<Seen> seen;
};

TEST_F(KeyCaptureFilterTest, ReportsPressesAndReleasesAndKeepsThemFromTheWidgets)
{
    ASSERT_TRUE(ShowActive(window));
    field->setFocus();
    filter->SetWanted(true);
    ASSERT_TRUE(filter->Running());
    EXPECT_FALSE(field->testAttribute(Qt::WA_InputMethodEnabled));
    DeliverKey(window, QEvent::KeyPress, Qt::Key_A, KEY_A);
    DeliverKey(window, QEvent::KeyPress, Qt::Key_A, KEY_A, Qt::NoModifier, true);
    DeliverKey(window, QEvent::KeyRelease, Qt::Key_A, KEY_A);
    DeliverKey(window, QEvent::KeyPress, Qt::Key_Pause, KEY_PAUSE, Qt::ControlModifier);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].code, 0x01E);
    EXPECT_EQ(seen[0].action, CaptureAction::SwallowAndCapture);
    EXPECT_EQ(seen[1].action, CaptureAction::Swallow);
    EXPECT_TRUE(seen[2].release);
    EXPECT_EQ(seen[3].code, 0x146) << "Ctrl+Pause is Break";
    EXPECT_TRUE(field->text().isEmpty()) << "no captured key reaches the field";

    // A media key goes on to the widgets and is reported to no one.
    DeliverKey(window, QEvent::KeyPress, Qt::Key_VolumeDown, KEY_VOLUMEDOWN);
    EXPECT_EQ(seen.size(), 4u);
}

TEST_F(KeyCaptureFilterTest, CapturesNothingUnlessWantedVisibleAndActive)
{
    filter->SetWanted(true);
    EXPECT_FALSE(filter->Running()) << "hidden";
    ASSERT_TRUE(ShowActive(window));
    EXPECT_TRUE(filter->Running());

    // Another window of the program does not have its keys taken.
    QWidget other;
    auto* otherField = new QLineEdit(&other);
    ASSERT_TRUE(ShowActive(other));
    otherField->setFocus();
    EXPECT_FALSE(filter->Running());
    DeliverKey(other, QEvent::KeyPress, Qt::Key_A, KEY_A);
    EXPECT_TRUE(seen.empty());
    other.hide();

    ASSERT_TRUE(ShowActive(window));
    filter->SetWanted(false);
    EXPECT_FALSE(filter->Running());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    DeliverKey(window, QEvent::KeyPress, Qt::Key_A, KEY_A);
    EXPECT_TRUE(seen.empty());
}

} // namespace
} // namespace kovantis
