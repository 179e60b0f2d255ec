// The Qt alert with texts of every length, on Qt's offscreen platform (a
// screen of 800 x 600): a short text takes just its height, a long one scrolls
// in a bounded area, and whatever the texts, the dialog lies within the
// screen's available area with its buttons inside it.
#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "alert_dialog.h"

namespace tessary::update::qt {
namespace {

std::string repeated(std::string_view piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text.append(piece);
    return text;
}

// Lets the event loop wait for a moment, as it does between timer ticks: the
// alert applies the texts set since the last wait.
void settle() {
    QEventLoop loop;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the alert modally, calls `look` with its dialog once it is shown, then closes it.
void whileShown(QtAlert& alert, const std::function<void(QDialog&)>& look) {
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        look(*dialog);
        dialog->done(static_cast<int>(alertFirstButtonReturn));
    });
    alert.runModal();
}

void expectWithinScreen(QDialog& dialog) {
    const QRect available = dialog.screen()->availableGeometry();
    EXPECT_TRUE(available.contains(dialog.frameGeometry()))
        << "dialog at " << dialog.frameGeometry().y() << ", " << dialog.frameGeometry().height()
        << " pixels tall, on a screen " << available.height() << " pixels tall";
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        EXPECT_TRUE(button->isVisible());
        EXPECT_TRUE(dialog.rect().contains(QRect(button->mapTo(&dialog, QPoint(0, 0)), button->size())))
            << button->text().toStdString();
    }
}

// The size a layout gives a bare word-wrapped label with the same text, font and width.
QSize bareLabelSize(const QLabel& shown) {
    QWidget column;
    auto* layout = new QVBoxLayout(&column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* label = new QLabel(shown.text());
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setFont(shown.font());
    label->setFixedWidth(shown.width());
    layout->addWidget(label);
    layout->activate();
    return label->size();
}

struct TextCase {
    const char* name;
    std::string message;
    std::string informative;
    bool scrolls;
};

class AlertTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(AlertTexts, FitTheScreenAndScrollOnlyWhenLong) {
    const TextCase& c = GetParam();
    QtAlert alert(false);
    alert.setMessageText(c.message);
    alert.setInformativeText(c.informative);
    alert.addButtonWithTitle("Close");
    alert.addButtonWithTitle("Later");
    alert.layout();
    whileShown(alert, [&](QDialog& dialog) {
        expectWithinScreen(dialog);
        auto* scrollArea = dialog.findChild<QScrollArea*>();
        ASSERT_NE(scrollArea, nullptr) << "the informative text lies in a scroll area";
        QScrollArea& area = *scrollArea;
        EXPECT_EQ(area.verticalScrollBar()->isVisible(), c.scrolls);
        auto* label = qobject_cast<QLabel*>(area.widget());
        ASSERT_NE(label, nullptr);
        if (c.scrolls) {
            // The rest of the text is there, below, for the scroll bar to bring up.
            EXPECT_GT(area.verticalScrollBar()->maximum(), 0);
            EXPECT_GT(label->height(), area.viewport()->height());
        } else {
            // Just the size the text takes in a bare label of the column's width.
            EXPECT_EQ(area.size(), bareLabelSize(*label));
            EXPECT_EQ(label->size(), area.size());
        }
    });
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AlertTexts,
    ::testing::Values(
        TextCase{"Short", "Tessary couldn’t update", "Disk full", false},
        TextCase{"Empty", "Checking for updates…", "", false},
        TextCase{"FifteenLines", "Tessary couldn’t update", repeated("at frame\n", 14) + "end", false},
        TextCase{"LongStackTrace", "Tessary couldn’t update",
                 repeated("    at stage (/opt/Tessary/resources/app.asar/updater/stage.js:88:12)\n", 29),
                 true},
        TextCase{"LongWord", "Tessary couldn’t update", repeated("x", 2000), true},
        TextCase{"LongHeadlineAndText", "Tessary " + repeated("9", 119) + "… is available",
                 repeated("lorem ipsum dolor sit amet ", 70), true}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

// A dialog the user put down near the bottom of the screen moves up when a
// long text makes it grow, and stays put while it does not grow.
TEST(AlertTextsWhileShown, AGrowingDialogMovesUpIntoTheScreen) {
    QtAlert alert(false);
    alert.setMessageText("Tessary 2.0.0 is available");
    alert.setInformativeText("Your conversations and drafts will be restored when Tessary reopens.");
    alert.addButtonWithTitle("Install & Relaunch");
    alert.addButtonWithTitle("Later");
    alert.layout();
    whileShown(alert, [&](QDialog& dialog) {
        const QRect available = dialog.screen()->availableGeometry();
        dialog.move(dialog.x(), available.bottom() + 1 - dialog.frameGeometry().height());
        settle();
        const QPoint placed = dialog.pos();

        alert.setInformativeText("Progress: 41 %");  // shorter: nothing moves
        settle();
        EXPECT_EQ(dialog.pos(), placed);

        alert.setMessageText("Tessary couldn’t update");
        alert.setInformativeText(repeated("Error: ENOSPC: no space left on device, write\n", 29));
        settle();
        EXPECT_GT(dialog.height(), 200);
        expectWithinScreen(dialog);
    });
}

}  // namespace
}  // namespace tessary::update::qt

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // No display needed, also when the build lists the tests.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
