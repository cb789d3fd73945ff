// tavelo-hub watching a venue of simulated rooms on 127.0.0.1 (100 unless --rooms says):
// once every room is online, the service's CPU time over a quiet period (the status poll
// running in every room) as a share of one core, and its resident memory; then writes
// through the API to room after room, each timed from the request until its event reaches
// a WebSocket client, and the median and slowest of those; then changes made to rooms by
// another program (tavelo-cli set), each timed from the end of tavelo-cli until the service's
// "outside" event reaches the client; last, reads of room state (the room list and one room's
// values, in turn) sent at a steady rate over many connections for a while, each timed from
// when it was due until its reply, with the median, 99th percentile and the rate the service
// kept up.
//
//   hub_rooms [--rooms N] [--seconds S] [--writes W] [--outside O] [--read-rate R]
//             [--read-seconds T] [--connections C] [--probe SECONDS]
//
// Not part of ctest. Talks only to 127.0.0.1; writes only into a temporary folder.
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebSocket>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Options {
  int rooms = 100;
  int seconds = 30;
  int writes = 200;
  int outside = 20;    // changes made by tavelo-cli behind the service's back
  QString probe;       // passed on to tavelo-hub serve when given
  int readRate = 200;  // reads per second
  int readSeconds = 10;
  int connections = 30;  // each client below keeps up to six
};

// Reads of room state at a steady rate, spread over several clients so that many connections
// are open at once. A read is timed from when it was due, so a backlog counts against it.
class ReadLoad {
 public:
  ReadLoad(const QString& base, const QByteArray& token, int rooms, int connections)
      : base_(base), token_(token), rooms_(rooms) {
    for (int i = 0; i < std::max(1, (connections + 5) / 6); ++i)
      clients_.push_back(std::make_unique<QNetworkAccessManager>());
  }

  void Run(int rate, int seconds) {
    QElapsedTimer clock;
    clock.start();
    const qint64 total = static_cast<qint64>(rate) * seconds;
    const double gapNs = 1e9 / rate;
    qint64 sent = 0;
    while (sent < total || pending_ > 0) {
      while (sent < total && clock.nsecsElapsed() >= static_cast<qint64>(sent * gapNs)) {
        Send(clock, static_cast<qint64>(sent * gapNs), sent);
        ++sent;
      }
      QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
      if (clock.elapsed() > (seconds + 30) * 1000LL) break;  // the service stopped answering
    }
    elapsedS_ = static_cast<double>(clock.nsecsElapsed()) / 1e9;
  }

  std::vector<double>& Latencies() { return latencies_; }
  int Failures() const { return failures_; }
  double ElapsedSeconds() const { return elapsedS_; }

 private:
  void Send(const QElapsedTimer& clock, qint64 dueNs, qint64 n) {
    const QString path = n % 2 == 0 ? QStringLiteral("rooms")
                                    : QStringLiteral("rooms/room-%1/values").arg((n / 2) % rooms_);
    QNetworkRequest request{QUrl(base_ + path)};
    request.setRawHeader("Authorization", "Bearer " + token_);
    QNetworkReply* reply = clients_[n % clients_.size()]->get(request);
    ++pending_;
    QObject::connect(reply, &QNetworkReply::finished, [this, reply, &clock, dueNs] {
      --pending_;
      if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200)
        latencies_.push_back(static_cast<double>(clock.nsecsElapsed() - dueNs) / 1e6);
      else
        ++failures_;
      reply->deleteLater();
    });
  }

  QString base_;
  QByteArray token_;
  int rooms_;
  std::vector<std::unique_ptr<QNetworkAccessManager>> clients_;
  std::vector<double> latencies_;
  int pending_ = 0;
  int failures_ = 0;
  double elapsedS_ = 0;
};

// utime + stime of a process, in clock ticks.
long long CpuTicks(qint64 pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  std::string field;
  long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) utime = std::stoll(field);
    if (i == 15) stime = std::stoll(field);
  }
  return utime + stime;
}

long RssKb(qint64 pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

void Wait(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

QString ReadUntil(QProcess& process, const QString& wanted, int limitMs) {
  QString out;
  QElapsedTimer timer;
  timer.start();
  while (!out.contains(wanted) && timer.elapsed() < limitMs) {
    process.waitForReadyRead(200);
    out += QString::fromUtf8(process.readAllStandardOutput());
  }
  return out;
}

struct Http {
  int status = 0;
  QByteArray body;
};

Http Call(QNetworkAccessManager& net, const QByteArray& method, const QString& url,
          const QByteArray& token, const QByteArray& body = {}) {
  QNetworkRequest request{QUrl(url)};
  request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
  if (!token.isEmpty()) request.setRawHeader("Authorization", "Bearer " + token);
  QNetworkReply* reply = net.sendCustomRequest(request, method, body);
  QEventLoop loop;
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  QTimer::singleShot(20000, &loop, &QEventLoop::quit);
  loop.exec();
  Http out{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll()};
  reply->deleteLater();
  return out;
}

int Fail(const char* why) {
  std::fprintf(stderr, "hub_rooms: %s\n", why);
  return 1;
}

// Runs the event loop until `arrived` (a clock reading in nanoseconds, set by the WebSocket
// client) is set; milliseconds from `from` to it, or nothing after `limitMs`.
std::optional<double> ArrivedAfter(const qint64& arrived, qint64 from, int limitMs) {
  QElapsedTimer limit;
  limit.start();
  while (arrived < 0 && limit.elapsed() < limitMs)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
  if (arrived < 0) return std::nullopt;
  return static_cast<double>(arrived - from) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  Options options;
  const QStringList args = app.arguments();
  for (int i = 1; i + 1 < args.size(); i += 2) {
    if (args[i] == QStringLiteral("--outside")) options.outside = args[i + 1].toInt();
    if (args[i] == QStringLiteral("--probe")) options.probe = args[i + 1];
    if (args[i] == QStringLiteral("--rooms")) options.rooms = args[i + 1].toInt();
    if (args[i] == QStringLiteral("--seconds")) options.seconds = args[i + 1].toInt();
    if (args[i] == QStringLiteral("--writes")) options.writes = args[i + 1].toInt();
    if (args[i] == QStringLiteral("--read-rate")) options.readRate = args[i + 1].toInt();
    if (args[i] == QStringLiteral("--read-seconds")) options.readSeconds = args[i + 1].toInt();
    if (args[i] == QStringLiteral("--connections")) options.connections = args[i + 1].toInt();
  }
  if (options.rooms < 1 || options.seconds < 1 || options.writes < 1 || options.outside < 1 ||
      options.readRate < 1 || options.readSeconds < 1 || options.connections < 1)
    return Fail("every option takes a positive number");
  QTemporaryDir dir;

  QProcess sim;
  sim.start(QStringLiteral(TAVELO_SIM_PATH),
            {QStringLiteral("--listen"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
             QStringLiteral("0"), QStringLiteral("--count"), QString::number(options.rooms)});
  const QString simOut = ReadUntil(
      sim,
      options.rooms > 1 ? QStringLiteral("processors listening") : QStringLiteral("listening on"),
      30000);
  QFile inventory(dir.filePath(QStringLiteral("venue.txt")));
  if (!inventory.open(QIODevice::WriteOnly)) return Fail("cannot write the inventory");
  static const QRegularExpression kLine(
      QStringLiteral("^(?:processor (\\d+): )?listening on 127\\.0\\.0\\.1:(\\d+)$"),
      QRegularExpression::MultilineOption);
  int listed = 0;
  std::vector<QString> ports;
  for (auto it = kLine.globalMatch(simOut); it.hasNext(); ++listed) {
    const auto match = it.next();
    ports.push_back(match.captured(2));
    inventory.write(QStringLiteral("room-%1 127.0.0.1 %2\n")
                        .arg(match.captured(1).isEmpty() ? QStringLiteral("0") : match.captured(1),
                             match.captured(2))
                        .toUtf8());
  }
  inventory.close();
  if (listed != options.rooms) return Fail("tavelo-sim did not start every processor");

  QProcess hub;
  QStringList serve{QStringLiteral("serve"),
                    QStringLiteral("--inventory"),
                    inventory.fileName(),
                    QStringLiteral("--database"),
                    dir.filePath(QStringLiteral("hub.sqlite")),
                    QStringLiteral("--listen"),
                    QStringLiteral("127.0.0.1:0")};
  if (!options.probe.isEmpty()) serve << QStringLiteral("--probe") << options.probe;
  hub.start(QStringLiteral(TAVELO_HUB_PATH), serve);
  const QString hubOut = ReadUntil(hub, QStringLiteral("listening on"), 30000);
  const auto port = QRegularExpression(QStringLiteral("127\\.0\\.0\\.1:(\\d+)")).match(hubOut);
  const auto password =
      QRegularExpression(QStringLiteral("one-time password (\\S+)")).match(hubOut);
  if (!port.hasMatch() || !password.hasMatch()) return Fail("tavelo-hub did not start");
  const QString base = QStringLiteral("http://127.0.0.1:%1/api/v1/").arg(port.captured(1));

  QNetworkAccessManager net;
  const Http login = Call(
      net, "POST", base + QStringLiteral("session"), {},
      QStringLiteral(R"({"user": "owner", "password": "%1"})").arg(password.captured(1)).toUtf8());
  const QByteArray token = QJsonDocument::fromJson(login.body)
                               .object()
                               .value(QStringLiteral("token"))
                               .toString()
                               .toLatin1();
  if (token.isEmpty()) return Fail("cannot log in");

  QElapsedTimer timer;
  timer.start();
  int online = 0;
  while (online < options.rooms && timer.elapsed() < 60000) {
    Wait(200);
    online = 0;
    for (const QJsonValue room :
         QJsonDocument::fromJson(Call(net, "GET", base + QStringLiteral("rooms"), token).body)
             .array())
      online += room[QStringLiteral("online")].toBool() ? 1 : 0;
  }
  if (online < options.rooms) return Fail("not every room came online within 60 s");
  std::printf("rooms online: %d after %.1f s\n", online,
              static_cast<double>(timer.elapsed()) / 1000);

  Wait(2000);  // the first reads settle
  const long long ticksBefore = CpuTicks(hub.processId());
  QElapsedTimer quiet;
  quiet.start();
  Wait(options.seconds * 1000);
  const double cpuSeconds =
      static_cast<double>(CpuTicks(hub.processId()) - ticksBefore) / sysconf(_SC_CLK_TCK);
  const double share = 100.0 * cpuSeconds / (static_cast<double>(quiet.elapsed()) / 1000);
  std::printf("service CPU over %d s with every room polled: %.2f %% of one core\n",
              options.seconds, share);
  std::printf("service resident memory: %.1f MB\n",
              static_cast<double>(RssKb(hub.processId())) / 1024);

  QWebSocket socket;
  QElapsedTimer clock;
  clock.start();
  qint64 arrived = -1;
  QString awaited;
  QString awaitedSource = QStringLiteral("api");
  QObject::connect(&socket, &QWebSocket::textMessageReceived, [&](const QString& text) {
    const QJsonObject event = QJsonDocument::fromJson(text.toUtf8()).object();
    if (event[QStringLiteral("source")].toString() == awaitedSource &&
        event[QStringLiteral("room")].toString() == awaited)
      arrived = clock.nsecsElapsed();
  });
  socket.open(QUrl(QString(base).replace(QStringLiteral("http:"), QStringLiteral("ws:")) +
                   QStringLiteral("events?token=") + QString::fromLatin1(token)));
  Wait(500);
  std::vector<double> latencies;
  for (int i = 0; i < options.writes; ++i) {
    awaited = QStringLiteral("room-%1").arg(i % options.rooms);
    arrived = -1;
    const qint64 sent = clock.nsecsElapsed();
    const Http write =
        Call(net, "PATCH", base + QStringLiteral("rooms/%1/values").arg(awaited), token,
             QStringLiteral(R"({"music.volume": %1})").arg(20 + i % 40).toUtf8());
    if (write.status != 200) return Fail("a write was refused");
    const auto ms = ArrivedAfter(arrived, sent, 5000);
    if (!ms) return Fail("a write's event never arrived");
    latencies.push_back(*ms);
  }
  std::sort(latencies.begin(), latencies.end());
  std::printf(
      "write -> WebSocket event (processor round trip included), %d writes: median %.2f ms, "
      "slowest %.2f ms\n",
      options.writes, latencies[latencies.size() / 2], latencies.back());

  // Another program's changes: the service finds them by its probe (or its reread).
  awaitedSource = QStringLiteral("outside");
  std::vector<double> outside;
  for (int i = 0; i < options.outside; ++i) {
    // Each change waits a while first, 0..1 s spread evenly, so that the changes do not fall
    // in step with the probes (the loop would otherwise start each one just after a probe).
    Wait((i * 389) % 1000);
    const int room = (i * 7) % options.rooms;
    awaited = QStringLiteral("room-%1").arg(room);
    arrived = -1;
    QProcess cli;
    cli.start(QStringLiteral(TAVELO_CLI_PATH),
              {QStringLiteral("--host"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
               ports[static_cast<std::size_t>(room)], QStringLiteral("set"),
               QStringLiteral("music.volume=%1").arg(10 + i % 30)});
    if (!cli.waitForFinished(20000) || cli.exitCode() != 0) return Fail("tavelo-cli set failed");
    const auto ms = ArrivedAfter(arrived, clock.nsecsElapsed(), 90000);
    if (!ms) return Fail("an outside change's event never arrived");
    outside.push_back(*ms);
  }
  std::sort(outside.begin(), outside.end());
  std::printf(
      "tavelo-cli set -> \"outside\" WebSocket event, %d changes: median %.0f ms, slowest %.0f "
      "ms\n",
      options.outside, outside[outside.size() / 2], outside.back());

  ReadLoad reads(base, token, options.rooms, options.connections);
  reads.Run(options.readRate, options.readSeconds);
  std::vector<double>& times = reads.Latencies();
  if (times.empty()) return Fail("no read of room state was answered");
  std::sort(times.begin(), times.end());
  std::printf(
      "reads of room state at %d/s over %d connections for %d s: median %.2f ms, p99 %.2f ms, "
      "slowest %.2f ms, %.0f answered/s, %d failed\n",
      options.readRate, options.connections, options.readSeconds, times[times.size() / 2],
      times[std::min(times.size() - 1, times.size() * 99 / 100)], times.back(),
      static_cast<double>(times.size()) / reads.ElapsedSeconds(), reads.Failures());

  hub.terminate();
  hub.waitForFinished(5000);
  sim.terminate();
  sim.waitForFinished(5000);
  return 0;
}
