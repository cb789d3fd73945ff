#pragma once
// A real mosquitto broker on a free loopback port, from a configuration in a temporary
// folder, for the bridge's tests; and a plain libmosquitto client that watches every topic.
#include <mosquitto.h>

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <map>
#include <mutex>

namespace tavelo::hubtest {

class MosquittoBroker {
 public:
  static constexpr const char* kProgram = "/usr/sbin/mosquitto";

  MosquittoBroker();  // picks the port; Start() runs the broker
  ~MosquittoBroker() { Stop(); }
  // Starts the broker (again, on the same port); false with Problem() set when it does not
  // take connections within a few seconds.
  bool Start();
  void Stop();
  int Port() const { return port_; }
  const QString& Problem() const { return problem_; }

 private:
  QTemporaryDir dir_;
  QProcess process_;
  int port_ = 0;
  QString problem_;
};

class WatchingClient {
 public:
  explicit WatchingClient(int port);
  ~WatchingClient();
  bool Connected() const { return connected_; }
  // The last payload seen on the topic (retained or live); nothing when none came.
  std::optional<QByteArray> Last(const QString& topic) const;
  int Count(const std::function<bool(const QString&)>& topicMatches) const;
  void Publish(const QString& topic, const QByteArray& payload);

 private:
  static void OnMessage(mosquitto*, void* self, const mosquitto_message* message);
  mosquitto* client_ = nullptr;
  bool connected_ = false;
  mutable std::mutex mutex_;
  std::map<QString, QByteArray> last_;
};

// Runs the Qt event loop until `done` holds or `ms` pass; whether it held.
bool WaitUntil(const std::function<bool()>& done, int ms);

}  // namespace tavelo::hubtest
