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

SoundLoader::SoundLoader(std::string modulePath)
    : loading_([this, path = std::move(modulePath)] {
        // The module is never unloaded: the libraries it brings in do not all clean up after themselves.
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) return;
        auto* start = reinterpret_cast<StartSoundFunction*>(dlsym(module, kStartSoundSymbol));
        if (start != nullptr) system_.reset(start());
      }) {}

SoundLoader::~SoundLoader() {
  get();
  system_.reset();
}

SoundSystem* SoundLoader::get() {
  std::call_once(joined_, [this] { loading_.join(); });
  return system_.get();
}

}  // namespace nokturna
