// qd3control: the QD3 editor as a desktop application. Start-up order: single
// instance, the editor, settings, audio and MIDI, change handlers, the audio
// stream, the main window, the message loop; see host/app/EditorApp.
#include <gtk/gtk.h>

#include <cstdio>
#include <exception>
#include <string_view>
#include <vector>

#include "host/app/AppArgs.h"
#include "host/app/BaseFolder.h"
#include "host/app/EditorApp.h"
#include "host/app/SingleInstance.h"

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  const qd3::ParsedArgs parsed = qd3::ParseAppArgs(args);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "qd3control: %s\n%s", parsed.error.c_str(), qd3::AppUsage());
    return 2;
  }
  if (parsed.help) {
    std::fputs(qd3::AppUsage(), stdout);
    return 0;
  }
  if (parsed.version) {
    std::fputs(qd3::AppVersionText().c_str(), stdout);
    return 0;
  }

  try {
    const std::filesystem::path base = qd3::EditorBaseFolder();
    qd3::SingleInstance instance(base);
    if (instance.GetRole() == qd3::SingleInstance::Role::kSecond) {
      if (!instance.AskFirstToRaise()) {
        std::fprintf(stderr, "qd3control: already running; its window could not be raised\n");
      }
      return 0;
    }
    if (!gtk_init_check(&argc, &argv)) {
      std::fprintf(stderr, "qd3control: cannot open the display\n");
      return 1;
    }
    qd3::EditorApp app(parsed.options, base, &instance);
    return app.Run();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "qd3control: %s\n", error.what());
    return 1;
  }
}
