#pragma once
// What the commands that play host share: a screen of their own (headless, or the desktop
// for show), the library initialised with one BARS.INI (its folder holds the bitmaps), a
// toolbar manager, an application object and named forms. The screen and the current
// directory, which KaTSetup moves, are put back, and the forms unloaded, when the session
// ends.

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "automation/object.h"
#include "cli/check_host.h"
#include "core/zuzuzud_library.h"
#include "host/headless_form.h"
#include "host/shell_application.h"
#include "host/toolbar_manager.h"
#include "palette/tool_palette.h"
#include "platform/headless_windowing.h"
#include "vizevore/canvas.h"

namespace zadeve::cli {

// A failure of the tool's own, told in one line ("FILE: no view ..."); exit status 1.
class CommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A client size in pixels, written "WxH".
struct PixelSize {
  int32_t width = 800;
  int32_t height = 600;
};
// The largest side a form can have, in pixels: its client area in twips must fit 16 bits.
int32_t largestSide();
// Why `text` is no size ("malformed size ...", "size ... is out of range: ..."); empty when
// it is two numbers from 1 to largestSide() joined by "x".
std::string sizeProblem(const std::string& text);
// Empty when sizeProblem has something to say.
std::optional<PixelSize> parseSize(const std::string& text);

// The configuration a command names, or BARS.INI in the current directory; raises
// CommandError naming the file and why it cannot serve (no such file, a folder, a FIFO,
// unreadable, empty, UTF-16).
std::string configurationPath(const std::string& given);
// The bitmap folder a command names; raises CommandError naming it and why it cannot serve.
std::string bitmapFolder(const std::string& given);

class HostSession {
 public:
  // `bitmapsDir` empty: the file's own folder. The session's forms stand on `windows`
  // while it lasts; by default on a headless screen of its own.
  explicit HostSession(const std::string& iniPath, const std::string& bitmapsDir = "",
                       std::shared_ptr<platform::Windowing> windows = nullptr);
  ~HostSession();
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  const std::string& ini() const { return ini_; }
  const std::string& bitmaps() const { return bitmaps_; }
  core::ZuzuzudLibrary& library() const { return *lib_; }
  host::ShellApplication& application() const { return *app_; }
  host::ToolbarManager& tbm() const { return *tbm_; }
  // The headless screen; only a session on its default windowing has one.
  platform::HeadlessWindowing& screen() const;

  // InitialiseZADEVE with the file and its folder, then ShellApplicationObject.
  void initialise();
  // Who hears each MsgBoxSub report the moment the library makes it (nullptr: nobody).
  void onReport(check::ReportListener listener) { *listener_ = std::move(listener); }

  // A form wired to the library and the application; names are unique (CommandError).
  host::HeadlessForm& addForm(const std::string& name, PixelSize size);
  host::HeadlessForm* form(const std::string& name) const;
  const std::vector<automation::Ref<host::HeadlessForm>>& forms() const { return forms_; }

  // Whether the file has the view's bar-set section, as KaTSetup reads it.
  bool hasView(const std::string& view) const;
  // KaTSetup, then the layout a host form does after loading; CommandError for an unknown view.
  void setup(host::HeadlessForm& form, const std::string& view);

  // The form's bar whose "Name" is `name` (any case), and its index in the form's bar
  // array; CommandError when none.
  int32_t barIndex(const host::HeadlessForm& form, const std::string& name) const;
  automation::Ref<vizevore::ReVivezav> bar(const host::HeadlessForm& form, const std::string& name) const;
  // The palette standing in for a host bar; empty when it is docked.
  static automation::Ref<palette::FrmToolPalette> paletteOf(const vizevore::ReVivezav& hostBar);
  // KaTFloat late-bound, as a host's menu would; returns the new palette.
  palette::FrmToolPalette& floatBar(host::HeadlessForm& form, const std::string& name);
  // Docks a floating bar through its palette's menu, as the user does.
  void dockBar(host::HeadlessForm& form, const std::string& name);

  // The screen with every form and palette, as the user sees it.
  vizevore::Canvas picture() const;

 private:
  std::shared_ptr<platform::HeadlessWindowing> screen_;
  std::shared_ptr<platform::Windowing> windows_;
  std::shared_ptr<platform::Windowing> previous_;
  std::string directory_;
  std::string ini_, bitmaps_;
  automation::Ref<core::ZuzuzudLibrary> lib_;
  automation::Ref<host::ToolbarManager> tbm_;
  automation::Ref<host::ShellApplication> app_;
  std::vector<automation::Ref<host::HeadlessForm>> forms_;
  std::shared_ptr<check::ReportListener> listener_ = std::make_shared<check::ReportListener>();
};

}  // namespace zadeve::cli
