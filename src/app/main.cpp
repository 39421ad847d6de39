// q5480: the desktop configuration and service program.
#include <QApplication>
#include <QGuiApplication>
#include <QLocale>
#include <QRect>
#include <QScreen>

#include "config/program_directory.h"
#include "termination_signals.h"
#include "ui/desktop_program.h"

namespace {

q5480::DesktopRect VirtualDesktop() {
  QRect area;
  for (const QScreen* screen : QGuiApplication::screens()) area |= screen->geometry();
  return {area.left(), area.top(), area.width(), area.height()};
}

char DecimalSeparator() {
  const QString point = QLocale::system().decimalPoint();
  return point.size() == 1 && point[0].unicode() < 0x80 ? static_cast<char>(point[0].unicode())
                                                        : '.';
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  q5480::TerminationSignals termination;
  QApplication::setApplicationName(QStringLiteral("Q5480"));
  // The desktop entry that gives the window its icon and name in the shell.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.q5480.q5480"));
  q5480::ApplyProgramStyle();

  q5480::DesktopOptions options;
  options.programDirectory = q5480::ProgramDirectory();
  options.link.ports.portsDirectory = q5480::PortsDirectory();
  options.desktop = VirtualDesktop();
  options.regional.decimalSeparator = DecimalSeparator();
  options.regional.longTimeFormat = QLocale::system().timeFormat(QLocale::LongFormat).toStdString();
  // Tests and screenshots go past the splash window without waiting.
  options.showSplash = qEnvironmentVariable("Q5480_NO_SPLASH") != QLatin1String("1");

  q5480::DesktopProgram program(options);
  if (!program.Start()) return 0;
  const int code = termination.Received() ? 0 : QApplication::exec();
  program.Stop();
  return code;
}
