// tavelo-sim: a virtual processor on TCP, for development, demos and tests of the Wi-Fi
// path. Listens on 127.0.0.1 unless told otherwise; prints "listening on ADDR:PORT" once
// both ports are up (with --count, for each processor in turn); stops cleanly on SIGINT and
// SIGTERM.
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

#include "SimOptions.h"
#include "TaveloVersion.h"
#include "core/presets/ParamFile.h"
#include "core/presets/PresetFolder.h"
#include "core/sim/VirtualProcessor.h"
#include "platform/SimServer.h"

namespace {

int g_signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

// Stops the event loop on SIGINT/SIGTERM through a self-pipe, so nothing unsafe runs in
// the signal handler.
bool InstallStopSignals(QCoreApplication& app) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) return false;
  auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
  QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[0], &byte, 1);
    app.quit();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

// The current preset from a parameter file: every field the file carries, exactly.
bool LoadPreset(const std::string& path, tavelo::ParamImage& image, std::string& error) {
  const tavelo::ParamFileResult result = tavelo::ReadParamFile(path);
  if (!result.ok()) {
    error = path + ": " + result.message;
    return false;
  }
  tavelo::ApplyDefaults(image);
  image.bytes = result.data.bytes;
  image.words = result.data.words;
  image.eq = result.data.eq;
  image.switchWord = result.data.switchWord;
  image.altSwitchWord = result.data.altSwitchWord;
  image.name = result.data.name;
  image.powerMode = result.data.powerMode;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::string error;
  tavelo::SimQuery query = tavelo::SimQuery::kNone;
  const std::optional<tavelo::SimOptions> options =
      tavelo::ParseSimOptions(app.arguments(), error, query);
  if (!options) {
    if (query == tavelo::SimQuery::kHelp) {
      std::fputs(tavelo::SimUsage().c_str(), stdout);
      return 0;
    }
    if (query == tavelo::SimQuery::kVersion) {
      std::printf("tavelo-sim %s\n", tavelo::kTaveloVersion);
      return 0;
    }
    std::fprintf(stderr, "tavelo-sim: %s\n%s", error.c_str(), tavelo::SimUsage().c_str());
    return 2;
  }

  tavelo::ParamImage preset;
  if (!options->seed && !options->presetFile.empty() &&
      !LoadPreset(options->presetFile, preset, error)) {
    std::fprintf(stderr, "tavelo-sim: %s\n", error.c_str());
    return 2;
  }
  if (!InstallStopSignals(app)) {
    std::fprintf(stderr, "tavelo-sim: cannot install signal handlers\n");
    return 1;
  }
  // One processor and its server per room, all on this thread's event loop.
  std::vector<std::unique_ptr<tavelo::VirtualProcessor>> processors;
  std::vector<std::unique_ptr<tavelo::SimServer>> servers;
  const QHostAddress address(QString::fromStdString(options->listen));
  for (int k = 0; k < options->count; ++k) {
    auto processor = std::make_unique<tavelo::VirtualProcessor>();
    if (options->seed) {
      *processor = tavelo::VirtualProcessor::Seeded(*options->seed + static_cast<std::uint32_t>(k));
    } else if (!options->presetFile.empty()) {
      *processor = tavelo::VirtualProcessor(preset);
    }
    if (!options->lockKey.empty()) processor->SetLockKey(options->lockKey);
    processor->SetLatencyMs(options->latencyMs);
    if (!options->faultRoom || *options->faultRoom == k) {
      for (const tavelo::SimFaultSpec& fault : options->faults) processor->AddFault(fault);
    }
    // Several processors say which one speaks.
    const std::string who =
        options->count > 1 ? "processor " + std::to_string(k) + ": " : std::string();
    auto server = std::make_unique<tavelo::SimServer>(*processor);
    server->SetLogger(
        [who](const std::string& line) {
          std::printf("%s%s\n", who.c_str(), line.c_str());
          std::fflush(stdout);
        },
        options->verbose);
    const auto step = [&](std::uint16_t first) {
      return static_cast<quint16>(first == 0 ? 0 : first + k);
    };
    if (!server->Listen(address, step(options->port), step(options->modulePort))) {
      std::fprintf(stderr, "tavelo-sim: %scannot listen on %s: %s\n", who.c_str(),
                   options->listen.c_str(), server->ErrorText().toStdString().c_str());
      return 1;
    }
    // The module line first: the "listening on" line tells that everything is up.
    std::printf("%swifi module on %s:%u\n", who.c_str(), options->listen.c_str(),
                server->ModulePort());
    std::printf("%slistening on %s:%u\n", who.c_str(), options->listen.c_str(), server->Port());
    processors.push_back(std::move(processor));
    servers.push_back(std::move(server));
  }
  if (options->count > 1) std::printf("all %d processors listening\n", options->count);
  std::fflush(stdout);
  const int code = app.exec();
  servers.clear();  // before the processors they answer for
  std::printf("stopped\n");
  std::fflush(stdout);
  return code;
}
