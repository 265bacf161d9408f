// SDL's video and event subsystems, held open for as long as the backend lives.
#pragma once

#include <memory>
#include <string>

namespace platform {

class SdlSession {
  public:
    // Initialises SDL video on a real display. Fails (nullptr, reason in *error) when none can
    // be opened, including when SDL would fall back to a display that nobody sees.
    static std::unique_ptr<SdlSession> Open(std::string* error);
    ~SdlSession();
    SdlSession(const SdlSession&) = delete;
    SdlSession& operator=(const SdlSession&) = delete;

  private:
    SdlSession() = default;
};

}  // namespace platform
