// tavelo-cli fleet against tavelo-sim --count 20 over loopback: every room answered from one
// run, the table and exit code saying which rooms did what, and each room's preset read back
// to prove it.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/fleet/RoomPreset.h"
#include "core/link/CommandCode.h"
#include "core/presets/PresetFolder.h"
#include "core/sim/RequestAssembler.h"
#include "core/sim/VirtualProcessor.h"
#include "fleet_support.h"

namespace tavelo::e2e {
namespace {

constexpr int kRooms = 20;
constexpr int kSeed = 100;
constexpr int kLimitMs = 60000;

const ParamImage& SeededPreset(int room) {
  static std::vector<VirtualProcessor> processors = [] {
    std::vector<VirtualProcessor> list;
    for (int k = 0; k < kRooms; ++k) list.push_back(VirtualProcessor::Seeded(kSeed + k));
    return list;
  }();
  return processors[static_cast<std::size_t>(room)].Current();
}

int SeededCurrentPreset(int room) {
  return VirtualProcessor::Seeded(static_cast<std::uint32_t>(kSeed + room)).CurrentPreset();
}

ParamImage PushedPreset(const std::string& name, int variant) {
  ParamImage image{};
  ApplyDefaults(image);
  image.word(24) = static_cast<std::uint16_t>(2000 + variant);
  image.eq[kEqMusic][2] = EqBand{0, kBandPeak, static_cast<std::int16_t>(500 + variant), 20, -35};
  image.switchWord = 0x00A1B2C3u + static_cast<std::uint32_t>(variant);
  image.name = SanitisePresetName(name);
  return image;
}

// The fields an upload carries arrived: the volumes are the room's own, as Load From PC keeps them.
void ExpectHolds(const ParamFileData& room, const ParamImage& pushed, const std::string& what) {
  EXPECT_EQ(room.name, pushed.name) << what;
  EXPECT_EQ(room.words[24], pushed.word(24)) << what;
  EXPECT_EQ(room.eq[kEqMusic][2], pushed.eq[kEqMusic][2]) << what;
  EXPECT_EQ(room.switchWord, pushed.switchWord) << what;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class Fleet : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim_.Started()) << sim_.Output();
    inventory_ = WriteInventory(dir_, "venue.txt", sim_.Ports());
  }
  static CliRun Run(const QStringList& args) {
    return RunCli(QStringList{"fleet"} + args, kLimitMs);
  }
  QString Inventory() const { return QString::fromStdString(inventory_.string()); }
  QStringList Link(int room) const {
    return {"--host", "127.0.0.1", "--port",
            QString::number(sim_.Ports()[static_cast<std::size_t>(room)])};
  }

  FleetSim sim_{kRooms, {"--seed", QString::number(kSeed)}};
  TempFolder dir_;
  std::filesystem::path inventory_;
};

TEST_F(Fleet, StatusReportsEveryRoomAsATableAsJsonAndEscapesNames) {
  // Room 4 holds a name with control characters, as a mass upload of a file can leave it.
  ParamImage raw = PushedPreset("", 4);
  const char name[] = "A\x1b[2J\x07Z";
  std::copy(name, name + 7, raw.name.begin());
  const auto file = WriteParamFile(dir_, "raw", raw);
  ASSERT_EQ(
      RunCli(QStringList{"mass-push", QString::fromStdString(file.string())} + Link(4)).exitCode,
      0);

  const CliRun table = Run({"status", Inventory()});
  ASSERT_EQ(table.exitCode, 0) << table.out << table.err;
  EXPECT_EQ(table.out.find('\x1b'), std::string::npos);
  EXPECT_EQ(table.out.find("ROOM     ADDRESS          REACHABLE  VERSION  PRESET"), 0u)
      << table.out;
  // Progress goes to stderr, so a piped table is just the table; not a terminal, so a plain
  // line per room as it finishes, no carriage returns.
  EXPECT_EQ(Count(table.out, "/20]"), 0u) << table.out;
  EXPECT_EQ(Count(table.err, "/20] room-"), 20u) << table.err;
  EXPECT_EQ(table.err.find('\r'), std::string::npos);
  for (int k = 0; k < kRooms; ++k) {
    const auto row = TableRow(table.out, RoomName(k));
    ASSERT_EQ(row.size(), 7u) << RoomName(k) << "\n" << table.out;
    EXPECT_EQ(row[1], "127.0.0.1:" + std::to_string(sim_.Ports()[static_cast<std::size_t>(k)]));
    EXPECT_EQ(row[2], "yes");
    EXPECT_EQ(row[3], "3");
    const std::string preset = k == 4 ? "1 \"A\\u001B[2J\\u0007Z\""
                                      : std::to_string(SeededCurrentPreset(k) + 1) + " \"" +
                                            PresetNameText(SeededPreset(k).name) + "\"";
    EXPECT_EQ(row[4], preset) << RoomName(k);
    EXPECT_EQ(row[5], "off");
    EXPECT_EQ(row[6], "1");
  }

  const CliRun json = Run({"status", Inventory(), "--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  // Progress goes to stderr, so stdout is JSON and nothing else.
  EXPECT_EQ(Count(json.err, "/20] room-"), 20u) << json.err;
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json.out), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << json.out;
  const QJsonArray rooms = doc.array();
  ASSERT_EQ(rooms.size(), kRooms);
  for (int k = 0; k < kRooms; ++k) {
    const QJsonObject room = rooms[k].toObject();
    EXPECT_EQ(room["room"].toString().toStdString(), RoomName(k));
    EXPECT_TRUE(room["reachable"].toBool());
    EXPECT_EQ(room["protocol_version"].toInt(), 3);
    EXPECT_EQ(room["port"].toInt(), sim_.Ports()[static_cast<std::size_t>(k)]);
    if (k != 4) {
      EXPECT_EQ(room["current_preset"].toInt(), SeededCurrentPreset(k) + 1);
    }
  }
  EXPECT_EQ(rooms[4].toObject()["preset_name"].toString().toStdString(), "A\x1b[2J\x07Z");
}

TEST_F(Fleet, PullSavesEachRoomsOwnPresetUnderItsName) {
  std::filesystem::create_directory(dir_.Path("pulled"));
  const CliRun pull = Run({"pull", Inventory(), dir_.Q("pulled")});
  ASSERT_EQ(pull.exitCode, 0) << pull.out << pull.err;
  EXPECT_NE(pull.out.find("fleet pull: 20 of 20 rooms saved into "), std::string::npos);
  for (int k = 0; k < kRooms; ++k) {
    const ParamFileData file = ReadParamFileOrFail(dir_.Path("pulled/" + RoomName(k)));
    // Room k's file holds processor k's preset, not a neighbour's.
    EXPECT_EQ(RoomDifferences(SeededPreset(k), file), std::vector<std::string>{}) << RoomName(k);
    EXPECT_EQ(TableRow(pull.out, RoomName(k)).at(1), "saved");
  }
  // The same as JSON: an object a room, naming its file.
  std::filesystem::create_directory(dir_.Path("again"));
  const CliRun json = Run({"pull", Inventory(), dir_.Q("again"), "--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const QJsonArray rooms = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).array();
  ASSERT_EQ(rooms.size(), kRooms) << json.out;
  for (int k = 0; k < kRooms; ++k) {
    const QJsonObject room = rooms[k].toObject();
    EXPECT_EQ(room["room"].toString().toStdString(), RoomName(k));
    EXPECT_TRUE(room["saved"].toBool()) << json.out;
    EXPECT_EQ(room["file"].toString().toStdString(), dir_.Path("again/" + RoomName(k)).string());
    EXPECT_EQ(room["preset_name"].toString().toStdString(),
              PresetNameText(SanitisePresetName(PresetNameText(SeededPreset(k).name))));
  }
}

// A save never creates a folder: a mistyped DIR is refused before any room is reached.
TEST_F(Fleet, PullIntoAMissingFolderIsRefusedAndMakesNone) {
  const CliRun pull = Run({"pull", Inventory(), dir_.Q("typo/presets")});
  EXPECT_EQ(pull.exitCode, 1);
  EXPECT_NE(pull.err.find("tavelo-cli fleet pull: cannot save into " +
                          dir_.Path("typo/presets").string() + ": No such file or directory"),
            std::string::npos)
      << pull.err;
  EXPECT_EQ(pull.out, "");
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("typo")));
  EXPECT_EQ(sim_.Output().find("connection from"), std::string::npos) << sim_.Output();
  // A file where the folder should be is refused the same way.
  std::ofstream(dir_.Path("plain")) << "x";
  const CliRun file = Run({"pull", Inventory(), dir_.Q("plain")});
  EXPECT_EQ(file.exitCode, 1);
  EXPECT_NE(file.err.find("Not a directory"), std::string::npos) << file.err;
}

TEST_F(Fleet, VerifyNamesTheChangedRoomsTheOneNotReachedAndTheOneWithoutAReference) {
  std::filesystem::create_directory(dir_.Path("golden"));
  ASSERT_EQ(Run({"pull", Inventory(), dir_.Q("golden")}).exitCode, 0);
  const CliRun clean = Run({"verify", Inventory(), dir_.Q("golden")});
  EXPECT_EQ(clean.exitCode, 0) << clean.out << clean.err;
  EXPECT_NE(clean.out.find("fleet verify: 20 same, 0 differ, 0 unreachable, 0 without a golden "
                           "file, of 20 rooms"),
            std::string::npos)
      << clean.out;

  ASSERT_EQ(RunCli(QStringList{"set", "reverb.level=77"} + Link(3)).exitCode, 0);
  ASSERT_EQ(RunCli(QStringList{"set", "mic.volume=3", "effect.volume=42"} + Link(11)).exitCode, 0);
  std::filesystem::remove(dir_.Path("golden/" + RoomName(5)));
  std::filesystem::copy_file(dir_.Path("golden/room-00"), dir_.Path("golden/room-dead"));
  const auto venue = WriteInventory(dir_, "venue2.txt", sim_.Ports(),
                                    "room-dead 127.0.0.1 " + std::to_string(UnusedPort()) + "\n");

  const CliRun verify =
      Run({"verify", QString::fromStdString(venue.string()), dir_.Q("golden"), "--jobs", "8"});
  EXPECT_EQ(verify.exitCode, 1) << verify.out << verify.err;
  EXPECT_NE(verify.out.find("fleet verify: 17 same, 2 differ, 1 unreachable, 1 without a golden "
                            "file, of 21 rooms"),
            std::string::npos)
      << verify.out;
  const auto room3 = TableRow(verify.out, "room-03");
  ASSERT_EQ(room3.size(), 3u) << verify.out;
  EXPECT_EQ(room3[1], "differs");
  EXPECT_EQ(room3[2].rfind("reverb.level: ", 0), 0u) << room3[2];
  EXPECT_NE(room3[2].find(" -> 77"), std::string::npos) << room3[2];
  // Room 11's two differences: the first on its row, the second on the row below.
  const auto at = verify.out.find("\nroom-11 ");
  ASSERT_NE(at, std::string::npos);
  const std::string room11 = verify.out.substr(at + 1, verify.out.find("\nroom-12 ", at) - at);
  EXPECT_NE(room11.find("differs"), std::string::npos) << room11;
  EXPECT_NE(room11.find("mic.volume: "), std::string::npos) << room11;
  EXPECT_NE(room11.find(" -> 3\n"), std::string::npos) << room11;
  EXPECT_NE(room11.find("effect.volume: "), std::string::npos) << room11;
  EXPECT_EQ(Count(room11, "\n"), 2u) << room11;

  const auto dead = TableRow(verify.out, "room-dead");
  ASSERT_EQ(dead.size(), 3u) << verify.out;
  EXPECT_EQ(dead[1], "unreachable");
  EXPECT_NE(dead[2].find("connection refused"), std::string::npos) << dead[2];
  const auto missing = TableRow(verify.out, RoomName(5));
  ASSERT_EQ(missing.size(), 3u) << verify.out;
  EXPECT_EQ(missing[1], "no golden file");
  for (int k : {0, 1, 2, 4, 6, 10, 12, 19}) {
    EXPECT_EQ(TableRow(verify.out, RoomName(k)), (std::vector<std::string>{RoomName(k), "same"}));
  }
  // Room 5 had no reference: the last run never connected it (the pull and the first run did).
  EXPECT_EQ(Count(sim_.Output(), "processor 5: connection from"), 2u) << sim_.Output();

  // The same verdicts as JSON, each difference an entry of its room's list.
  const CliRun json =
      Run({"verify", QString::fromStdString(venue.string()), dir_.Q("golden"), "--json"});
  EXPECT_EQ(json.exitCode, 1) << json.err;
  const QJsonArray rooms = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).array();
  ASSERT_EQ(rooms.size(), kRooms + 1) << json.out;
  const auto result = [&](int k) { return rooms[k].toObject()["result"].toString().toStdString(); };
  EXPECT_EQ(result(0), "same");
  EXPECT_EQ(result(3), "differs");
  EXPECT_EQ(result(5), "no golden file");
  EXPECT_EQ(result(kRooms), "unreachable");
  const QJsonArray differences = rooms[11].toObject()["differences"].toArray();
  ASSERT_EQ(differences.size(), 2) << json.out;
  EXPECT_TRUE(differences[0].toString().startsWith("mic.volume: ")) << json.out;
  EXPECT_TRUE(rooms[kRooms].toObject()["error"].toString().contains("connection refused"));
}

// One sim whose processor 7 drops its link after 25 replies: the 19 of connecting and
// reading the set, the upload start and five chunks.
TEST(FleetPush, ARoomFailingMidUploadStopsNoOtherAndTheSummaryNamesWhoHoldsThePreset) {
  FleetSim sim(kRooms,
               {"--seed", QString::number(kSeed), "--fault", "drop-after=25", "--fault-room", "7"});
  ASSERT_TRUE(sim.Started()) << sim.Output();
  TempFolder dir;
  const auto venue = QString::fromStdString(WriteInventory(dir, "venue.txt", sim.Ports()).string());
  const ParamImage pushed = PushedPreset("HOUSE SOUND", 1);
  const auto file = QString::fromStdString(WriteParamFile(dir, "house", pushed).string());

  const CliRun push = RunCli({"fleet", "push", venue, file}, kLimitMs);
  EXPECT_EQ(push.exitCode, 1) << push.out << push.err;
  std::string holders;
  for (int k = 0; k < kRooms; ++k) {
    if (k != 7) holders += (holders.empty() ? "" : ", ") + RoomName(k);
  }
  EXPECT_NE(push.out.find("fleet push: 19 of 20 rooms hold the new preset: " + holders + "\n"),
            std::string::npos)
      << push.out;
  EXPECT_NE(push.out.find("fleet push: 1 failed: room-07 (at upload (5 chunks confirmed))\n"),
            std::string::npos)
      << push.out;
  const auto failed = TableRow(push.out, "room-07");
  ASSERT_EQ(failed.size(), 4u) << push.out;
  EXPECT_EQ(failed[1], "failed");
  EXPECT_NE(failed[3].find("the link went down"), std::string::npos) << failed[3];

  // Every room read back: the 19 hold the file, room 7 still its own preset.
  std::filesystem::create_directory(dir.Path("back"));
  const CliRun back = RunCli({"fleet", "pull", venue, dir.Q("back")}, kLimitMs);
  ASSERT_EQ(back.exitCode, 0) << back.out << back.err;
  for (int k = 0; k < kRooms; ++k) {
    const ParamFileData room = ReadParamFileOrFail(dir.Path("back/" + RoomName(k)));
    if (k == 7) {
      EXPECT_EQ(RoomDifferences(SeededPreset(7), room), std::vector<std::string>{});
    } else {
      ExpectHolds(room, pushed, RoomName(k));
    }
  }
}

TEST(FleetPush, FromAFolderEachRoomGetsItsOwnFileAndARoomWithoutOneIsNotTouched) {
  FleetSim sim(4, {"--seed", QString::number(kSeed)});
  ASSERT_TRUE(sim.Started()) << sim.Output();
  TempFolder dir;
  const auto venue = QString::fromStdString(WriteInventory(dir, "venue.txt", sim.Ports()).string());
  std::filesystem::create_directory(dir.Path("files"));
  for (int k : {0, 1, 3}) {
    WriteParamFile(dir, "files/" + RoomName(k), PushedPreset("ROOM " + std::to_string(k), k));
  }
  const CliRun push = RunCli({"fleet", "push", venue, dir.Q("files"), "--slot", "4"}, kLimitMs);
  EXPECT_EQ(push.exitCode, 1) << push.out << push.err;
  EXPECT_EQ(TableRow(push.out, "room-00"),
            (std::vector<std::string>{"room-00", "pushed", "user mode 4: \"ROOM 0\""}));
  const auto missing = TableRow(push.out, "room-02");
  ASSERT_EQ(missing.size(), 4u) << push.out;
  EXPECT_EQ(missing[1], "failed");
  EXPECT_EQ(missing[2], "file");
  EXPECT_EQ(sim.Output().find("processor 2: connection from"), std::string::npos);

  std::filesystem::create_directory(dir.Path("back"));
  const CliRun back = RunCli({"fleet", "pull", venue, dir.Q("back")}, kLimitMs);
  ASSERT_EQ(back.exitCode, 0) << back.out << back.err;
  for (int k : {0, 1, 3}) {
    ExpectHolds(ReadParamFileOrFail(dir.Path("back/" + RoomName(k))),
                PushedPreset("ROOM " + std::to_string(k), k), RoomName(k));
    EXPECT_EQ(TableRow(back.out, RoomName(k)).at(2).find(dir.Path("back").string()), 0u);
  }
  EXPECT_EQ(RoomDifferences(SeededPreset(2), ReadParamFileOrFail(dir.Path("back/room-02"))),
            std::vector<std::string>{});
}

// A processor that keeps its previous preset after every upload. Its answer to the finish
// says so (as one does whose body arrived damaged), or, when `confirms`, claims it stored it.
class RefusingProcessor {
 public:
  explicit RefusingProcessor(bool confirms = false) : confirms_(confirms) {
    App();
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) Serve(socket);
    });
    server_.listen(QHostAddress::LocalHost, 0);
  }
  int Port() const { return server_.serverPort(); }
  const ParamImage& Current() const { return processor_.Current(); }

 private:
  void Serve(QTcpSocket* socket) {
    auto assembler = std::make_shared<RequestAssembler>();
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, assembler] {
      const QByteArray bytes = socket->readAll();
      assembler->Feed(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                      static_cast<std::size_t>(bytes.size()),
                      [&](std::uint8_t code, const std::uint8_t* data, int length) {
                        SimReply reply = processor_.Answer(code, data, length);
                        if (code == static_cast<std::uint8_t>(CommandCode::kWriteFinish)) {
                          processor_ = saved_;  // nothing was stored
                          const std::uint8_t result = confirms_ ? 1 : 0;
                          reply.bytes = BuildSimReplyFrame(code, &result, 1);
                        }
                        socket->write(reinterpret_cast<const char*>(reply.bytes.data()),
                                      static_cast<qint64>(reply.bytes.size()));
                      });
    });
  }

  bool confirms_;
  VirtualProcessor processor_ = VirtualProcessor::Seeded(kSeed);
  const VirtualProcessor saved_ = VirtualProcessor::Seeded(kSeed);
  QTcpServer server_;
};

// The processor answered the upload's last request, but with a refusal: the room does not
// hold the new preset, and the summary must not say it does.
TEST(FleetPush, AnUploadTheProcessorRefusesIsAFailureNotAConfirmation) {
  RefusingProcessor refusing;
  FleetSim sim(2, {"--seed", QString::number(kSeed)});
  ASSERT_TRUE(sim.Started()) << sim.Output();
  TempFolder dir;
  const auto venue = QString::fromStdString(
      WriteInventory(dir, "venue.txt", sim.Ports(),
                     "refusing 127.0.0.1 " + std::to_string(refusing.Port()) + "\n")
          .string());
  const auto file =
      QString::fromStdString(WriteParamFile(dir, "house", PushedPreset("HOUSE", 2)).string());
  const CliRun push = RunCli({"fleet", "push", venue, file}, kLimitMs);
  EXPECT_EQ(push.exitCode, 1) << push.out << push.err;
  EXPECT_NE(push.out.find("fleet push: 2 of 3 rooms hold the new preset: room-00, room-01\n"),
            std::string::npos)
      << push.out;
  const auto row = TableRow(push.out, "refusing");
  ASSERT_EQ(row.size(), 4u) << push.out;
  EXPECT_EQ(row[1], "failed");
  EXPECT_EQ(row[2], "confirmation");
  EXPECT_NE(row[3].find("refused the upload"), std::string::npos) << row[3];
  EXPECT_EQ(refusing.Current(), VirtualProcessor::Seeded(kSeed).Current());

  const CliRun json = RunCli({"fleet", "push", venue, file, "--json"}, kLimitMs);
  EXPECT_EQ(json.exitCode, 1) << json.err;
  const QJsonArray rooms = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).array();
  ASSERT_EQ(rooms.size(), 3) << json.out;
  EXPECT_TRUE(rooms[0].toObject()["pushed"].toBool()) << json.out;
  const QJsonObject refused = rooms[2].toObject();
  EXPECT_EQ(refused["room"].toString(), "refusing");
  EXPECT_FALSE(refused["pushed"].toBool());
  EXPECT_EQ(refused["step"].toString(), "confirmation");
}

// A confirmation is not proof: the room is read back after the upload, and a processor that
// confirmed but holds something else is a failure naming what differs.
TEST(FleetPush, ARoomIsReadBackAndOneThatConfirmedButHoldsAnotherPresetFails) {
  RefusingProcessor lying(true);
  FleetSim sim(2, {"--seed", QString::number(kSeed)});
  ASSERT_TRUE(sim.Started()) << sim.Output();
  TempFolder dir;
  const auto venue = QString::fromStdString(
      WriteInventory(dir, "venue.txt", sim.Ports(),
                     "lying 127.0.0.1 " + std::to_string(lying.Port()) + "\n")
          .string());
  // A slope on a band that carries none on the wire, as files from elsewhere may hold: the
  // processor cannot store it, so the read-back of the rooms that did must not count it.
  ParamImage pushed = PushedPreset("HOUSE", 3);
  pushed.eq[kEqMusic][1].slope = 2;
  const auto file = QString::fromStdString(WriteParamFile(dir, "house", pushed).string());
  const CliRun push = RunCli({"fleet", "push", venue, file}, kLimitMs);
  EXPECT_EQ(push.exitCode, 1) << push.out << push.err;
  EXPECT_NE(push.out.find("fleet push: 2 of 3 rooms hold the new preset: room-00, room-01\n"),
            std::string::npos)
      << push.out;
  const auto row = TableRow(push.out, "lying");
  ASSERT_EQ(row.size(), 4u) << push.out;
  EXPECT_EQ(row[2], "read-back");
  EXPECT_NE(row[3].find("confirmed the upload but holds another preset ("), std::string::npos)
      << row[3];
  EXPECT_EQ(lying.Current(), VirtualProcessor::Seeded(kSeed).Current());
}

// Never more rooms at once than --jobs allows, and more than one at once (served side by
// side, not in turn). The sim logs every request: a room is done, as far as the sim can
// tell, once its last request has come in, and the runner connects the next room only after
// the answer to that request. (Its "connection closed" lines cannot tell: the sim may see a
// new room's connection before an earlier room's close.)
TEST(FleetJobs, NoMoreRoomsInProgressThanJobsAllow) {
  constexpr int kJobRooms = 8;
  FleetSim sim(kJobRooms, {"--seed", QString::number(kSeed), "--latency-ms", "5", "--verbose"});
  ASSERT_TRUE(sim.Started()) << sim.Output();
  TempFolder dir;
  const auto venue = QString::fromStdString(WriteInventory(dir, "venue.txt", sim.Ports()).string());
  const CliRun status = RunCli({"fleet", "status", venue, "--jobs", "3"}, kLimitMs);
  ASSERT_EQ(status.exitCode, 0) << status.out << status.err;

  const std::string log = sim.Output();
  std::vector<std::string> lines;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  const auto processorOf = [](const std::string& line) { return std::atoi(line.c_str() + 10); };
  std::vector<int> requests(kJobRooms, 0);
  for (const auto& line : lines) {
    if (line.find(": request ") != std::string::npos) ++requests[processorOf(line)];
  }
  std::vector<int> seen(kJobRooms, 0);
  int connected = 0, done = 0, most = 0;
  for (const auto& line : lines) {
    if (line.rfind("processor ", 0) != 0) continue;
    const int k = processorOf(line);
    if (line.find(": connection from ") != std::string::npos) {
      most = std::max(most, ++connected - done);
    } else if (line.find(": request ") != std::string::npos && ++seen[k] == requests[k]) {
      ++done;
    }
  }
  EXPECT_EQ(connected, kJobRooms) << log;
  EXPECT_EQ(most, 3) << log;
}

// A room that takes the connection and never answers holds nobody up beyond --timeout; a
// room that refuses the connection is an answer, reported at once with the refusal.
TEST(FleetTimeout, ASilentRoomTimesOutARefusedOneAnswersAtOnceTheOthersAreServed) {
  App();
  QTcpServer silent;  // the kernel completes the connection; nothing ever answers on it
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
  FleetSim sim(2, {"--seed", QString::number(kSeed)});
  ASSERT_TRUE(sim.Started()) << sim.Output();
  TempFolder dir;
  const int refusedPort = UnusedPort();
  const std::string refusedAt = "127.0.0.1:" + std::to_string(refusedPort);
  const std::string refusedLine = "refused 127.0.0.1 " + std::to_string(refusedPort) + "\n";
  const auto venue = QString::fromStdString(
      WriteInventory(dir, "venue.txt", sim.Ports(),
                     "silent 127.0.0.1 " + std::to_string(silent.serverPort()) + "\n" + refusedLine)
          .string());

  // Without a limit the silent room would take the 6.5 s reply time-out.
  const CliRun run = RunCli({"fleet", "status", venue, "--timeout", "1.5"}, kLimitMs);
  EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
  EXPECT_LT(run.elapsedMs, 5000) << run.err;
  for (int k = 0; k < 2; ++k) EXPECT_EQ(TableRow(run.out, RoomName(k)).at(2), "yes") << run.out;
  const auto late = TableRow(run.out, "silent");
  ASSERT_EQ(late.size(), 4u) << run.out;
  EXPECT_EQ(late[2], "no");
  EXPECT_NE(late[3].find("timed out: not done within 1.5 s"), std::string::npos) << late[3];
  const auto refused = TableRow(run.out, "refused");
  ASSERT_EQ(refused.size(), 4u) << run.out;
  EXPECT_NE(refused[3].find("connection refused by " + refusedAt), std::string::npos) << refused[3];

  // Alone, the refused room ends well inside the 4 s connect window, and so does one
  // processor's command with a --timeout shorter than that window: the cause is the refusal.
  const auto alone =
      QString::fromStdString(WriteInventory(dir, "alone.txt", {}, refusedLine).string());
  const CliRun fleet = RunCli({"fleet", "status", alone}, kLimitMs);
  EXPECT_EQ(fleet.exitCode, 1);
  EXPECT_LT(fleet.elapsedMs, 3000) << fleet.err;
  EXPECT_NE(fleet.err.find("refused: failed at connect: "), std::string::npos) << fleet.err;
  const CliRun one = RunCli(
      {"status", "--host", "127.0.0.1", "--port", QString::number(refusedPort), "--timeout", "2"},
      kLimitMs);
  EXPECT_EQ(one.exitCode, 1);
  EXPECT_LT(one.elapsedMs, 2000) << one.err;
  EXPECT_NE(one.err.find("connection refused by " + refusedAt), std::string::npos) << one.err;
  EXPECT_EQ(one.err.find("timed out"), std::string::npos) << one.err;
}

TEST(FleetUsage, BadArgumentsAndInventoriesAreRefusedBeforeAnyRoomIsReached) {
  TempFolder dir;
  const auto good =
      QString::fromStdString(WriteInventory(dir, "good.txt", {UnusedPort()}).string());
  const auto bad = dir.Path("bad.txt");
  std::ofstream(bad) << "# venue\nroom-1 127.0.0.1 7000\nroom-2 127.0.0.1 70000\n";
  // One processor named twice: pushing to both would leave it holding neither file.
  const auto shared = dir.Path("shared.txt");
  std::ofstream(shared) << "room-1 127.0.0.1 7000\nroom-2 127.0.0.1 7001\nroom-3 127.0.0.1 7000\n";
  struct Case {
    QStringList args;
    int exitCode;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"fleet"}, 2, "tavelo-cli fleet: SUBCOMMAND is missing: status, pull, verify or push"},
      {{"fleet", "stat", good}, 2, "tavelo-cli fleet: unknown subcommand 'stat'"},
      {{"fleet", "status"}, 2, "tavelo-cli fleet status: INVENTORY is missing"},
      {{"fleet", "pull", good}, 2, "tavelo-cli fleet pull: DIR is missing"},
      {{"fleet", "status", good, "--host", "127.0.0.1"},
       2,
       "tavelo-cli fleet status: --host is not used by fleet status (a fleet command reaches"},
      {{"fleet", "status", good, "--trace"}, 2, "--trace is not used by fleet status"},
      {{"fleet", "pull", good, "d", "--slot", "1"}, 2, "--slot is not used by fleet pull"},
      {{"fleet", "status", good, "--jobs", "0"}, 2, "--jobs must be a whole number from 1 to 256"},
      {{"fleet", "status", good, "--timeout", "0"},
       2,
       "--timeout must be a number of seconds, more than 0"},
      {{"fleet", "push", good, good, "--slot", "11"}, 2, "fleet push: --slot must be 1 to 10"},
      {{"fleet", "status", QString::fromStdString(bad.string())},
       1,
       "inventory line 3: port \"70000\" is not 1..65535"},
      {{"fleet", "push", QString::fromStdString(shared.string()), good},
       1,
       "inventory line 3: room \"room-3\" has the address 127.0.0.1:7000 of room \"room-1\" on "
       "line 1"},
      {{"fleet", "status", dir.Q("missing.txt")}, 1, "missing.txt: "},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.args, kLimitMs);
    const std::string what = c.args.join(' ').toStdString();
    EXPECT_EQ(run.exitCode, c.exitCode) << what << "\n" << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << what << "\n" << run.err;
    EXPECT_EQ(run.out, "") << what;
  }
}

}  // namespace
}  // namespace tavelo::e2e
