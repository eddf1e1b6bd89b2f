// The settings window "Aquarium Settings": total, frame rate and the count of
// each species, laid out as on Windows, with the same rules for what OK takes.
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QWidget>

#include "base/product.h"
#include "common/linux_log.h"
#include "draw/icons.h"
#include "draw/qt/qt_graphics.h"
#include "policy/settings_form.h"
#include "policy/window_placement.h"
#include "sim/creature_tables.h"
#include "ui/ui.h"

namespace {

struct SettingsForm {
  QWidget* window = nullptr;
  QLineEdit* total = nullptr;
  QLabel* allocated = nullptr;
  QComboBox* fpsMode = nullptr;
  QLineEdit* counts[kSpeciesCount] = {};
};

QFont FormFont(int pixels, bool bold) {
  QFont font;
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QLabel* Label(QWidget* parent, const QString& text, QRect rect, const QFont& font) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(rect);
  label->setFont(font);
  label->setStyleSheet("color: rgb(40, 60, 90);");
  return label;
}

// A number edit: digits only, as the Windows edits take them.
QLineEdit* NumberEdit(QWidget* parent, int value, QRect rect, const QFont& font) {
  auto* edit = new QLineEdit(QString::number(value), parent);
  edit->setGeometry(rect);
  edit->setFont(font);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
  return edit;
}

int Number(const QLineEdit* edit) {
  return ReadFormNumber(edit->text().toStdWString().c_str());
}

SettingsFormInput ReadInput(const SettingsForm& form) {
  SettingsFormInput input;
  input.totalFish = Number(form.total);
  for (int i = 0; i < kSpeciesCount; ++i) input.speciesCounts[i] = Number(form.counts[i]);
  return input;
}

QPixmap SpeciesTile(int species) {
  QImage image = draw::MakeQtImage(82, 54);
  {
    draw::Graphics g = draw::MakeQtGraphics(image);
    draw::DrawSpeciesTile(g, species, 82, 54);
  }
  return QPixmap::fromImage(image);
}

void Apply(LinuxApp& app, SettingsForm& form) {
  const ApplyDecision decision = DecideApply(ReadInput(form));
  if (decision.outcome == ApplyOutcome::kNoSpecies) {
    QMessageBox::warning(form.window, QString::fromWCharArray(kNoSpeciesCaption),
                         QString::fromWCharArray(kNoSpeciesText));
    return;
  }
  if (decision.outcome == ApplyOutcome::kCountExceeded) {
    QMessageBox::warning(form.window, QString::fromWCharArray(kCountExceededCaption),
                         QString::fromStdWString(CountExceededText(decision.sum, decision.values.totalFish)));
    return;
  }
  app.settings.totalFish = decision.values.totalFish;
  app.settings.fpsMode = form.fpsMode->currentIndex();
  for (int i = 0; i < kSpeciesCount; ++i) app.settings.speciesCounts[i] = decision.values.speciesCounts[i];
  Log("[settings] applied: total=%d allocated=%d fps=%d", app.settings.totalFish, decision.sum,
      app.settings.fpsMode);
  Request(app.requests.settingsApplied, app);
  form.window->close();
}

struct SettingsWindow : QWidget {
  LinuxApp* app = nullptr;
  SettingsForm form;

  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      Apply(*app, form);  // OK is the default button
    } else if (event->key() == Qt::Key_Escape) {
      close();
    } else {
      QWidget::keyPressEvent(event);
    }
  }
};

void UpdateAllocated(SettingsForm& form) {
  form.allocated->setText(QString::fromStdWString(AllocatedLabelText(ReadInput(form))));
}

}  // namespace

void OpenSettingsWindow(LinuxApp& app) {
  UserInterface& ui = *app.ui;
  if (ui.settingsWindow) {
    ui.settingsWindow->raise();
    ui.settingsWindow->activateWindow();
    return;
  }
  auto* window = new SettingsWindow;
  window->app = &app;
  SettingsForm& form = window->form;
  form.window = window;
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint);
  window->setWindowTitle("Aquarium Settings");
  window->setWindowIcon(AppIcon());
  window->setFixedSize(1100, kSettingsClientHeight);
  const QFont normal = FormFont(18, false), bold = FormFont(18, true), small = FormFont(16, false);

  Label(window, "Total Fish (5-60):", {20, 20, 180, 28}, normal);
  form.total = NumberEdit(window, app.settings.totalFish, {205, 18, 80, 30}, normal);
  // Wider than on Windows where Linux fonts need it, in the same order and rows.
  form.allocated = Label(window, "Allocated: 0 / 28", {305, 20, 305, 28}, bold);
  Label(window, "Performance:", {615, 20, 120, 28}, normal);
  form.fpsMode = new QComboBox(window);
  form.fpsMode->addItems({"Smooth (60 FPS)", "Power Saver (15 FPS)"});
  form.fpsMode->setCurrentIndex(app.settings.fpsMode == 1 ? 1 : 0);
  form.fpsMode->setGeometry(740, 18, 215, 30);
  form.fpsMode->setFont(normal);
  auto* group = new QGroupBox("Species && Count (number of each species)", window);
  group->setGeometry(15, 52, 1065, 460);
  for (int i = 0; i < kSpeciesCount; ++i) {
    const int x = 30 + 265 * (i / 5), top = 88 * (i % 5), y = top + 76;
    auto* icon = new QLabel(window);
    icon->setGeometry(x, y, 82, 54);
    icon->setPixmap(SpeciesTile(i));
    Label(window, QString::fromWCharArray(kSpeciesNames[i]), {x + 90, y, 170, 26}, normal);
    Label(window, "Count:", {x + 90, top + 104, 55, 24}, small);
    form.counts[i] = NumberEdit(window, app.settings.speciesCounts[i], {x + 148, top + 102, 55, 28}, normal);
  }
  auto* ok = new QPushButton("OK", window);
  ok->setGeometry(830, 530, 100, 38);
  ok->setFont(bold);
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", window);
  cancel->setGeometry(945, 530, 100, 38);
  cancel->setFont(normal);
  Label(window, QString::fromWCharArray(kSettingsFooter), {20, 580, 500, 24}, small);

  QObject::connect(ok, &QPushButton::clicked, [&app, window] { Apply(app, window->form); });
  QObject::connect(cancel, &QPushButton::clicked, window, &QWidget::close);
  QObject::connect(form.total, &QLineEdit::textChanged, [window] { UpdateAllocated(window->form); });
  for (QLineEdit* edit : form.counts) {
    QObject::connect(edit, &QLineEdit::textChanged, [window] { UpdateAllocated(window->form); });
  }
  UpdateAllocated(form);
  ui.settingsWindow = window;
  window->show();
  Log("[ui] settings window opened");
}
