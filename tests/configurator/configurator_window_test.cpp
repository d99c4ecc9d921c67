// The real configurator dialogs, rendered offscreen.

#include <QApplication>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "configurator/configurator_dialogs.h"
#include "configurator/dialog_templates.h"
#include "tests/configurator/card_script.h"
#include "tests/ui/qt_test_app.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/screenshot.h"

namespace {

using namespace configurator;
using namespace cfgtest;

QWidget* ActiveDialog() { return QApplication::activeModalWidget(); }

// Runs fn once a modal dialog other than over is up.
void WhenDialogShows(std::function<void(QWidget*)> fn, QWidget* over = nullptr) {
  QTimer::singleShot(0, [fn = std::move(fn), over] {
    ASSERT_TRUE(uitest::WaitUntil([over] {
      return ActiveDialog() != nullptr && ActiveDialog() != over && ActiveDialog()->isVisible();
    }));
    fn(ActiveDialog());
  });
}

// then runs once the menu has closed.
void ChooseAboutFromContextMenu(QWidget* dialog, std::function<void()> then) {
  QTimer::singleShot(0, [then = std::move(then)] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), "&About Configurator...");
    menu->setActiveAction(menu->actions()[0]);
    QTest::keyClick(menu, Qt::Key_Return);
    then();
  });
  auto* list = dialog->findChild<QListWidget*>();
  const QPoint at = list->parentWidget()->rect().center();
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->parentWidget()->mapToGlobal(at));
  QApplication::sendEvent(list->parentWidget(), &event);
}

TEST(ConfiguratorWindowTest, ListsTheCardsAndEndsOnClose) {
  CardScript cards;
  cards.addCard(0, IsaCard(0x360, 0xD0000, 10));
  cards.addCard(3, PciCard(0, 4, 0, 1));
  cards.addCard(12, PciCard(1, 15, 1, 0));
  ui::QtHost host;
  QStringList lines;
  QString title, group, close_text, about_line;
  bool close_is_default = false;
  WhenDialogShows([&](QWidget* dialog) {
    title = dialog->windowTitle();
    group = dialog->findChild<QGroupBox*>()->title();
    auto* list = dialog->findChild<QListWidget*>();
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    auto* close = dialog->findChild<QPushButton*>();
    close_text = close->text();
    close_is_default = close->isDefault();
    uitest::SaveForDocs(ui::GrabWindow(dialog), "configurator.png");

    ChooseAboutFromContextMenu(dialog, [&, dialog] {
      WhenDialogShows([&](QWidget* about) {
        for (QLabel* label : about->findChildren<QLabel*>())
          if (!label->text().isEmpty()) about_line = label->text();
        uitest::SaveForDocs(ui::GrabWindow(about), "configurator_about.png");
        EXPECT_EQ(about->windowTitle(), "About Configurator");
        QTest::keyClick(about, Qt::Key_Return);
      }, dialog);
    });
    close->click();
  });
  EXPECT_EQ(RunConfigurator(host, cards), 0);
  EXPECT_EQ(title, "Talvora Talvlink Configurator");
  EXPECT_EQ(group, "Devices Available for API:");
  EXPECT_EQ(close_text, "CLOSE");
  EXPECT_TRUE(close_is_default);
  EXPECT_EQ(lines, (QStringList{"TALVSTRM0\tIO_Port: 0x360   Memory: 0xD0000   IRQ: 0xA",
                                "TALVSTRM3\tBusNumber: 0   SlotNumber: 4   CPU: A   CommPort: SECONDARY",
                                "TALVSTRM12\tBusNumber: 1   SlotNumber: 15   CPU: B   CommPort: PRIMARY"}));
  EXPECT_EQ(about_line, "Talvora Talvlink Configurator (PnP Version)");
  EXPECT_EQ(ActiveDialog(), nullptr);
}

TEST(ConfiguratorWindowTest, TitleBarCloseEndsIt) {
  CardScript cards;
  ui::QtHost host;
  int rows = -1;
  WhenDialogShows([&](QWidget* dialog) {
    rows = dialog->findChild<QListWidget*>()->count();
    dialog->close();
  });
  EXPECT_EQ(RunConfigurator(host, cards), 0);
  EXPECT_EQ(rows, 0);
}

}  // namespace
