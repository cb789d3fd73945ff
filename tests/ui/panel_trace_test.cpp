// The panel's diagnostics: silent by default; with the wire category on, a connection
// writes its frames as the command-line tool's --trace does.
#include <gtest/gtest.h>

#include <QLoggingCategory>
#include <QRegularExpression>
#include <QStringList>

#include "core/link/WireTrace.h"
#include "ui/app/LogCategories.h"
#include "ui/panel_test_env.h"

namespace tavelo {
namespace {

struct Captured {
  QString category;
  QString text;
};
std::vector<Captured>* g_captured = nullptr;

void Capture(QtMsgType, const QMessageLogContext& context, const QString& text) {
  if (g_captured) g_captured->push_back({QString(context.category), text});
}

class TraceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::QtApp();
    g_captured = &captured_;
    previous_ = qInstallMessageHandler(Capture);
  }
  void TearDown() override {
    qInstallMessageHandler(previous_);
    g_captured = nullptr;
    QLoggingCategory::setFilterRules(QString());
  }
  QStringList Lines(const char* category) const {
    QStringList lines;
    for (const auto& c : captured_)
      if (c.category == category) lines << c.text;
    return lines;
  }

  std::vector<Captured> captured_;
  QtMessageHandler previous_ = nullptr;
};

TEST_F(TraceTest, CategoriesAreOffUntilARuleOrTraceTurnsThemOn) {
  for (const QLoggingCategory* category :
       {&ui::lcLink(), &ui::lcWire(), &ui::lcEngine(), &ui::lcFiles()})
    EXPECT_FALSE(category->isDebugEnabled()) << category->categoryName();
  test::PanelFixture panel;
  ASSERT_TRUE(panel.ConnectDemo());
  EXPECT_TRUE(Lines("tavelo.wire").isEmpty());
  EXPECT_TRUE(Lines("tavelo.engine").isEmpty());

  ui::EnableTrace();  // what `tavelo --trace` does
  EXPECT_TRUE(ui::lcWire().isDebugEnabled());
  EXPECT_TRUE(ui::lcLink().isDebugEnabled());
  EXPECT_FALSE(ui::lcEngine().isDebugEnabled());
}

TEST_F(TraceTest, ADemoConnectWritesEveryFrameInTheToolsFormat) {
  QLoggingCategory::setFilterRules("tavelo.wire.debug=true\ntavelo.engine.debug=true");
  test::PanelFixture panel;
  ASSERT_TRUE(panel.ConnectDemo());
  const QStringList lines = Lines("tavelo.wire");
  const QRegularExpression sent("^> AA( [0-9A-F]{2})+$");
  const QRegularExpression reply("^< reply to [0-9]{1,3}:( [0-9A-F]{2})*$");
  int requests = 0, replies = 0;
  for (const QString& line : lines) {
    requests += sent.match(line).hasMatch();
    replies += reply.match(line).hasMatch();
    EXPECT_TRUE(sent.match(line).hasMatch() || reply.match(line).hasMatch()) << line.toStdString();
  }
  // One line per request frame that reached the processor, byte for byte.
  const auto frames = test::WireFrames(panel.W());
  ASSERT_FALSE(frames.empty());
  EXPECT_EQ(requests, static_cast<int>(frames.size()));
  EXPECT_GE(replies, 1);
  const auto& first = frames.front();
  std::vector<std::uint8_t> bytes = {0xAA,
                                     static_cast<std::uint8_t>((first.data.size() + 1) & 0xff),
                                     static_cast<std::uint8_t>((first.data.size() + 1) >> 8),
                                     static_cast<std::uint8_t>(first.code)};
  bytes.insert(bytes.end(), first.data.begin(), first.data.end());
  EXPECT_TRUE(
      lines.front().startsWith(QString::fromStdString(SentFrameLine(bytes.data(), bytes.size()))))
      << lines.front().toStdString();
  EXPECT_FALSE(Lines("tavelo.engine").isEmpty());  // the download's notices
  EXPECT_TRUE(Lines("tavelo.link").isEmpty());     // not asked for
}

}  // namespace
}  // namespace tavelo
