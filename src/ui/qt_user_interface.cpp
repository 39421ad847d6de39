#include "ui/qt_user_interface.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "config/atomic_file.h"
#include "ui/list_window.h"
#include "workflow/form_texts.h"

namespace q5480 {
namespace {

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

QMessageBox::Icon IconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

MessageResult ShowMessageBox(QWidget* parent, const std::string& text, const std::string& caption,
                             MessageIcon icon, MessageButtons buttons,
                             const LanguageTable* language = nullptr) {
  QMessageBox box(IconOf(icon), FromUtf8(caption), FromUtf8(text), QMessageBox::NoButton, parent);
  box.setObjectName(QStringLiteral("MyMesM"));
  switch (buttons) {
    case MessageButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MessageButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case MessageButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MessageButtons::OkDetails: box.setStandardButtons(QMessageBox::Ok); break;
  }
  QAbstractButton* details = nullptr;
  if (buttons == MessageButtons::OkDetails) {
    const std::string text = language != nullptr ? TextOrKey(*language, "Details") : "Details";
    details = box.addButton(FromUtf8(text), QMessageBox::ActionRole);
    details->setObjectName(QStringLiteral("DetailsButton"));
    details->setAccessibleName(details->text());
    // Esc answers OK, not Details.
    box.setEscapeButton(QMessageBox::Ok);
  }
  // A message may name its buttons ("... press Cancel ..."): they speak the
  // program's language as it does. OK keeps its own text.
  if (language != nullptr) {
    const std::pair<QMessageBox::StandardButton, std::string_view> named[] = {
        {QMessageBox::Cancel, "Cancel"}, {QMessageBox::Yes, "Yes"}, {QMessageBox::No, "No"}};
    for (const auto& [which, key] : named) {
      if (QAbstractButton* button = box.button(which))
        button->setText(FromUtf8(TextOrKey(*language, key)));
    }
  }
  const int answer = box.exec();
  if (details != nullptr && box.clickedButton() == details) return MessageResult::Details;
  switch (answer) {
    case QMessageBox::Cancel: return MessageResult::Cancel;
    case QMessageBox::Yes: return MessageResult::Yes;
    case QMessageBox::No: return MessageResult::No;
    default: break;
  }
  // Closing the box with Esc or its frame answers as its safe button does.
  if (buttons == MessageButtons::OkCancel && box.clickedButton() == nullptr) {
    return MessageResult::Cancel;
  }
  return buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Ok;
}

// A file dialog whose save mode refuses a file that the program may not
// replace before it asks about overwriting, and stays open for another name.
class FileDialog : public QFileDialog {
 public:
  FileDialog(QWidget* parent, std::string protectedFileText)
      : QFileDialog(parent), protectedFileText_(std::move(protectedFileText)) {}

  void accept() override {
    const QStringList files = selectedFiles();
    if (acceptMode() == AcceptSave && !protectedFileText_.empty() && !files.isEmpty() &&
        !QFileInfo(files.constFirst()).isDir() &&
        IsWriteProtected(files.constFirst().toStdString())) {
      ShowMessageBox(this, protectedFileText_ + "\n" + files.constFirst().toStdString(),
                     kMessageCaption, MessageIcon::Warning, MessageButtons::Ok);
      return;
    }
    QFileDialog::accept();
  }

 private:
  std::string protectedFileText_;
};

}  // namespace

QStringList DialogFilters(const std::string& filter) {
  const QStringList parts = FromUtf8(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    const QString text = parts[i];
    // Qt reads the patterns from the brackets at the end of the text.
    filters << (text.endsWith(QLatin1Char(')')) && text.contains(patterns)
                    ? text
                    : text + QStringLiteral(" (") + patterns + QLatin1Char(')'));
  }
  return filters;
}

MessageResult QtUserInterface::ShowMessage(const std::string& text, const std::string& caption,
                                           MessageIcon icon, MessageButtons buttons) {
  return ShowMessageBox(parent_, text, caption, icon, buttons, language_);
}

void QtUserInterface::Beep(BeepKind) { QApplication::beep(); }

std::optional<std::string> QtUserInterface::AskFileName(const FileDialogRequest& request) {
  FileDialog dialog(parent_, request.protectedFileText);
  dialog.setObjectName(request.save ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilters(DialogFilters(request.filter));
  dialog.setDefaultSuffix(FromUtf8(request.defaultExtension));
  if (!request.directory.empty()) dialog.setDirectory(FromUtf8(request.directory));
  if (!request.fileName.empty()) dialog.selectFile(FromUtf8(request.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst().toStdString();
}

void QtUserInterface::SetStatusText(const std::string& text) {
  if (onStatusText) onStatusText(FromUtf8(text));
}

void QtUserInterface::SetProgress(int percent) {
  if (onProgress) onProgress(percent);
}

void QtUserInterface::ShowWaitWindow(bool shown) {
  if (onWaitWindow) onWaitWindow(shown);
}

void QtUserInterface::ProcessEvents() { QCoreApplication::processEvents(); }

void QtUserInterface::ShowList(const std::string& title, const std::vector<std::string>& lines) {
  ListWindow window(title, lines, parent_);
  window.exec();
}

}  // namespace q5480
