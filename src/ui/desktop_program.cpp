#include "ui/desktop_program.h"

#include <QApplication>
#include <QStyleFactory>

#include "ui/splash_window.h"
#include "workflow/program_start.h"

namespace q5480 {
namespace {

constexpr double kReferenceDpi = 96.0;

}  // namespace

void ApplyProgramStyle() {
  if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion")))
    QApplication::setStyle(style);
}

DesktopProgram::DesktopProgram(const DesktopOptions& options)
    : options_(options), context_(ui_, options.link), logic_(context_), window_(logic_) {
  context_.regional = options.regional;
  ui_.SetParent(&window_);
  ui_.SetLanguage(&context_.language);
  ui_.onStatusText = [this](const QString& text) { window_.SetStatusText(text); };
  ui_.onProgress = [this](int percent) { window_.SetProgress(percent); };
  ui_.onWaitWindow = [this](bool shown) { window_.ShowWaitWindow(shown); };
}

DesktopProgram::~DesktopProgram() { Stop(); }

bool DesktopProgram::Start() {
  PrepareProgram(context_, options_.programDirectory, options_.desktop);
  const ProgramSettings& settings = context_.settings;
  window_.move(settings.MainLeft, settings.MainTop);
  if (options_.showSplash) {
    SplashWindow splash(context_.language);
    const double scale = window_.logicalDpiX() / kReferenceDpi;
    splash.move(settings.MainLeft + static_cast<int>(79 * scale),
                settings.MainTop + static_cast<int>(77 * scale));
    if (splash.exec() != QDialog::Accepted) {
      // Ended before anything was opened: the settings stay as they were.
      stopped_ = true;
      return false;
    }
  }
  started_ = true;
  const bool opened = StartProgram(logic_);
  window_.ApplyTexts();
  window_.Refresh();
  window_.move(settings.MainLeft, settings.MainTop);
  window_.show();
  if (!opened) window_.Komunikacja1Click();
  window_.Timer1->start(logic_.TimerInterval());
  return true;
}

void DesktopProgram::Stop() {
  if (stopped_) return;
  stopped_ = true;
  window_.Timer1->stop();
  if (!started_) return;
  StopProgram(logic_, window_.x(), window_.y());
  window_.hide();
}

}  // namespace q5480
