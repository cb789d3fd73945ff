// The panel when a processor is plugged in but cannot be opened: the status keeps "Open
// failed" and one message box per Connect tells the cause and the remedy.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <cerrno>

#include "platform/HidTransport.h"
#include "platform/fake_hid.h"
#include "ui/panel_test_env.h"

namespace tavelo {
namespace {

TEST(PanelUsbOpen, APresentProcessorThatCannotBeOpenedIsExplainedOncePerConnect) {
  test::PanelFixture panel;
  auto state = std::make_shared<fakehid::FakeState>();
  panel.E().SetTransportFactory([&] {
    auto system = std::make_unique<fakehid::FakeSystem>(state);
    system->attached = {fakehid::Processor("/dev/hidraw2")};
    system->refusing["/dev/hidraw2"] = EACCES;
    return std::make_unique<HidTransport>(std::make_unique<HidOpenPolicy>(std::move(system)));
  });
  const std::string expected =
      "The processor is connected at /dev/hidraw2 but cannot be opened: Permission denied. "
      "Install the udev rule 70-tavelo.rules (see README) and replug the processor.";

  panel.W().Connect();
  panel.Pump([] { return false; }, 200);  // ticks and events: nothing repeats it
  EXPECT_EQ(panel.W().StatusText(), "Open failed");
  EXPECT_EQ(panel.E().State(), ConnState::kIdle);
  ASSERT_EQ(panel.W().Messages().size(), 1u);
  const auto boxes = panel.W().findChildren<QMessageBox*>("userMessage");
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_EQ(boxes[0]->text().toStdString(), expected);
  boxes[0]->done(QMessageBox::Ok);

  panel.W().Connect();
  panel.Pump([] { return false; }, 50);
  ASSERT_EQ(panel.W().Messages().size(), 2u);
  EXPECT_EQ(panel.W().Messages().back().text, expected);
  EXPECT_EQ(panel.W().StatusText(), "Open failed");
}

}  // namespace
}  // namespace tavelo
