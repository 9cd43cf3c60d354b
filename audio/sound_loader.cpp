#include "audio/sound_loader.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>
#include <utility>

namespace nokturna {

std::string SoundModulePath() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "nokturna_sound.so";
  return (program.parent_path() / "nokturna_sound.so").string();
}

namespace {

SoundSystem* StartModule(const std::string& path) {
  // The module is never unloaded: the libraries it brings in do not all clean up after themselves.
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) return nullptr;
  auto* start = reinterpret_cast<StartSoundFunction*>(dlsym(module, kStartSoundSymbol));
  return start != nullptr ? start() : nullptr;
}

}  // namespace

SoundLoader::SoundLoader(GameSound& sound, std::string modulePath)
    : SoundLoader(sound, std::function<SoundSystem*()>(
                             [path = std::move(modulePath)] { return StartModule(path); })) {}

SoundLoader::SoundLoader(GameSound& sound, std::function<SoundSystem*()> startSound)
    : sound_(sound), startSound_(std::move(startSound)) {}

SoundLoader::~SoundLoader() {
  std::call_once(joined_, [this] {
    if (loading_.joinable()) loading_.join();
  });
  // A hand-over still waiting in the event loop goes with its receiver.
  handOver_.reset();
  if (backEnd_) sound_.connect(nullptr);
  backEnd_.reset();
  system_.reset();
}

void SoundLoader::start() { load(true); }

SoundSystem* SoundLoader::get() {
  load(false);
  std::call_once(joined_, [this] { loading_.join(); });
  return system_.get();
}

void SoundLoader::load(bool handOver) {
  std::call_once(started_, [this, handOver] {
    if (handOver) handOver_ = std::make_unique<QObject>();
    loading_ = std::thread([this, receiver = handOver_.get()] {
      system_.reset(startSound_());
      // The players are not thread-safe: they are played on the thread that plays the game.
      if (receiver != nullptr) {
        QMetaObject::invokeMethod(
            receiver, [this] { connect(); }, Qt::QueuedConnection);
      }
    });
  });
}

void SoundLoader::connect() {
  if (!system_) return;
  backEnd_ = std::make_unique<InProcessBackEnd>(system_->clips(), system_->music());
  sound_.connect(backEnd_.get());
}

}  // namespace nokturna
