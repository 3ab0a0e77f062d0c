#include "kalvitra/designer/designer_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <limits>

#include "kalvitra/designer/calculator_launcher.h"
#include "kalvitra/designer/help.h"
#include "kalvitra/designer/language.h"
#include "kalvitra/designer/presentation.h"
#include "kalvitra/designer/section_view.h"

namespace kalvitra::designer {
namespace {

// A marked input: a pale red field whose tooltip says why.
const QColor kMarkedBase(0xff, 0xd6, 0xd6);

QString keyOf(const InputRow& row) {
    return QLatin1String(row.key);
}

// "chooseCurveFile" beside the box "curveFile".
QString chooseButtonName(const InputRow& row) {
    QString key = keyOf(row);
    key[0] = key[0].toUpper();
    return QStringLiteral("choose") + key;
}

QTableWidget* makeTable(const QString& name, const QString& accessibleName, QWidget* parent) {
    auto* table = new QTableWidget(parent);
    table->setObjectName(name);
    table->setAccessibleName(accessibleName);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setVisible(false);
    table->setAlternatingRowColors(true);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void fillTable(QTableWidget& table, const QStringList& header, const QList<QStringList>& rows) {
    table.setColumnCount(static_cast<int>(header.size()));
    table.setHorizontalHeaderLabels(header);
    table.setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            QTableWidgetItem* item = table.item(r, c);
            if (item == nullptr) {
                item = new QTableWidgetItem;
                table.setItem(r, c, item);
            }
            item->setText(rows[r][c]);
            // Numbers stand right-aligned, words left.
            bool number = false;
            rows[r][c].toDouble(&number);
            item->setTextAlignment(
                (number || rows[r][c].isEmpty() ? Qt::AlignRight : Qt::AlignLeft) |
                Qt::AlignVCenter);
        }
    }
}

// A marked input is pale red; an output shown in an input's box (D found,
// widths chosen) has the window's shade, as a read-only field.
void paintBase(QWidget& control) {
    const auto* edit = qobject_cast<const QLineEdit*>(&control);
    const QPalette standard = QApplication::palette();
    QColor base = standard.base().color();
    if (control.property("marked").toBool()) {
        base = kMarkedBase;
    } else if (edit != nullptr && edit->isReadOnly()) {
        base = standard.window().color();
    }
    QPalette palette = control.palette();
    palette.setColor(QPalette::Base, base);
    control.setPalette(palette);
}

// The background of an output by its tone: green within, amber within the
// tolerance, red beyond; the words say the same.
void paintTone(QLineEdit& field, QPalette palette) {
    switch (static_cast<Tone>(field.property("tone").toInt())) {
        case Tone::Plain:
            break;
        case Tone::Good:
            palette.setColor(QPalette::Base, QColor(0xd4, 0xf0, 0xd4));
            break;
        case Tone::Warning:
            palette.setColor(QPalette::Base, QColor(0xff, 0xe4, 0xb0));
            break;
        case Tone::Bad:
            palette.setColor(QPalette::Base, QColor(0xf8, 0xc8, 0xc8));
            break;
    }
    field.setPalette(palette);
}

// Shows a number's text from its start: a long one is cut at the right.
void setShownText(QLineEdit& field, const QString& text) {
    if (field.text() != text) {
        field.setText(text);
        field.setCursorPosition(0);
    }
}

// A result wider than its field could show is shown whole in its tooltip;
// a short one keeps the field's own tooltip, if it has one.
void showResult(QLineEdit& field, const QString& text) {
    setShownText(field, text);
    if (!field.property("ownToolTip").isValid()) {
        field.setProperty("ownToolTip", field.toolTip());
    }
    const int room = field.isVisible() ? field.contentsRect().width() : 180;
    const bool fits = field.fontMetrics().horizontalAdvance(text) < room - 8;
    field.setToolTip(fits ? field.property("ownToolTip").toString() : text);
}

}  // namespace

DesignerWindow::DesignerWindow(QWidget* parent)
    : QMainWindow(parent), document_(new DesignDocument(this)), exporter_(*document_) {
    setObjectName(QStringLiteral("designerWindow"));
    buildMenus();
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->addWidget(buildInputs());
    splitter->addWidget(buildOutputs());
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    resize(1440, 960);
    connect(document_, &DesignDocument::changed, this, [this] { showTexts(); });
    connect(document_, &DesignDocument::evaluated, this, [this] { recompute(); });
    connect(document_, &DesignDocument::modifiedChanged, this, &QWidget::setWindowModified);
    showTexts();
    recompute();
}

DesignerWindow::~DesignerWindow() = default;

void DesignerWindow::buildMenus() {
    const auto action = [this](QMenu* menu, const char* name, const QString& text,
                               QKeySequence shortcut, auto slot) {
        QAction* added = menu->addAction(text);
        added->setObjectName(QLatin1String(name));
        added->setShortcut(shortcut);
        connect(added, &QAction::triggered, this, slot);
        return added;
    };
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    action(file, "actionNew", tr("&New"), QKeySequence::New, [this] { newDesign(); });
    action(file, "actionOpen", tr("&Open…"), QKeySequence::Open, [this] { chooseAndOpen(); });
    action(file, "actionOpenSheet", tr("Open &sheet…"), {}, [this] { chooseAndOpenSheet(); });
    action(file, "actionSave", tr("&Save"), QKeySequence::Save, [this] { save(); });
    action(file, "actionSaveAs", tr("Save &as…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
           [this] { saveAs(); });
    file->addSeparator();
    designActions_ << action(file, "actionExportSheet", tr("Export s&heet…"), {}, [this] {
        exportWith(tr("Export sheet"), tr("Kalvitra sheets (*.kvs)"), QStringLiteral(".kvs"),
                   &DesignerWindow::exportSheet);
    });
    designActions_ << action(file, "actionOpenInCalculator", tr("Open in &calculator"), {},
                             [this] { openInCalculator(); });
    QMenu* exports = file->addMenu(tr("&Export"));
    exports->setObjectName(QStringLiteral("exportMenu"));
    designActions_ << action(exports, "actionExportSvg", tr("Section as &SVG…"), {}, [this] {
        exportWith(tr("Export section"), tr("SVG drawings (*.svg)"), QStringLiteral(".svg"),
                   &DesignerWindow::exportSectionSvg);
    });
    designActions_ << action(exports, "actionExportSectionDxf", tr("Section as &DXF…"), {}, [this] {
        exportWith(tr("Export section"), tr("DXF drawings (*.dxf)"), QStringLiteral("-section.dxf"),
                   &DesignerWindow::exportSectionDxf);
    });
    designActions_ << action(
        exports, "actionExportCutListDxf", tr("Cut list as D&XF…"), {}, [this] {
            exportWith(tr("Export cut list"), tr("DXF drawings (*.dxf)"),
                       QStringLiteral("-cutlist.dxf"), &DesignerWindow::exportCutListDxf);
        });
    designActions_ << action(exports, "actionExportCsv", tr("Cut list as &CSV…"), {}, [this] {
        exportWith(tr("Export cut list"), tr("CSV tables (*.csv)"), QStringLiteral(".csv"),
                   &DesignerWindow::exportCutListCsv);
    });
    designActions_ << action(exports, "actionExportPdf", tr("&Report as PDF…"), {}, [this] {
        exportWith(tr("Export report"), tr("PDF documents (*.pdf)"), QStringLiteral(".pdf"),
                   &DesignerWindow::exportReportPdf);
    });
    designActions_ << action(file, "actionPrint", tr("&Print report"), QKeySequence::Print,
                             [this] { print(); });
    file->addSeparator();
    action(file, "actionQuit", tr("&Quit"), QKeySequence::Quit, [this] { close(); });
    buildHelpMenu();
}

void DesignerWindow::buildHelpMenu() {
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    const auto action = [this, help](const char* name, const QString& text, QKeySequence shortcut,
                                     auto slot) {
        QAction* added = help->addAction(text);
        added->setObjectName(QLatin1String(name));
        added->setShortcut(shortcut);
        connect(added, &QAction::triggered, this, slot);
    };
    action("actionUserGuide", tr("&User guide"), QKeySequence::HelpContents,
           [this] { openUserGuide(); });
    action("actionShortcuts", tr("&Keyboard shortcuts"), {}, [this] { showShortcuts(); });
    help->addSeparator();
    action("actionAbout", tr("&About the core designer"), {}, [this] { showAbout(); });
    action("actionAboutQt", tr("About &Qt"), {}, [] { QApplication::aboutQt(); });
}

QList<QStringList> DesignerWindow::shortcutRows() const {
    QList<QStringList> rows;
    QList<const QMenu*> menus;
    for (const QAction* top : menuBar()->actions()) {
        if (top->menu() != nullptr) {
            menus.append(top->menu());
        }
    }
    // Menu by menu, submenus after the menu that holds them.
    for (qsizetype m = 0; m < menus.size(); ++m) {
        for (const QAction* item : menus[m]->actions()) {
            if (item->menu() != nullptr) {
                menus.append(item->menu());
            } else if (!item->shortcut().isEmpty()) {
                // The mnemonic out: "新建(&N)" -> "新建", "&New" -> "New".
                static const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)|&"));
                rows.append({QString(item->text()).remove(mnemonic),
                             item->shortcut().toString(QKeySequence::NativeText)});
            }
        }
    }
    return rows;
}

void DesignerWindow::showShortcuts() {
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("shortcutsDialog"));
    dialog.setWindowTitle(tr("Keyboard shortcuts"));
    auto* layout = new QVBoxLayout(&dialog);
    QTableWidget* table =
        makeTable(QStringLiteral("shortcutsTable"), tr("Keyboard shortcuts"), &dialog);
    fillTable(*table, {tr("Command"), tr("Shortcut")}, shortcutRows());
    layout->addWidget(table);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    buttons->setObjectName(QStringLiteral("shortcutsButtons"));
    buttons->setAccessibleName(tr("Close"));
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(420, 360);
    dialog.exec();
}

void DesignerWindow::openUserGuide() {
    const QString guide = findUserGuide(QCoreApplication::applicationDirPath(), currentLanguage());
    if (guide.isEmpty()) {
        reportProblem(tr("No user guide"),
                      tr("The user guide %1 is in none of these folders:\n%2")
                          .arg(userGuideName(currentLanguage()),
                               userGuideFolders(QCoreApplication::applicationDirPath())
                                   .join(QLatin1Char('\n'))));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(guide))) {
        reportProblem(tr("No user guide"),
                      tr("No program opened %1.").arg(QDir::toNativeSeparators(guide)));
    }
}

QString DesignerWindow::aboutText() {
    return tr("<h3>Kalvitra core designer %1</h3>"
              "<p>Designs the stepped iron core of a power transformer: the section, the "
              "cut list, the masses and the no-load loss.</p>"
              "<p>Copyright © 2026 Kalvitra developers. Released under the MIT licence: "
              "free to use, copy, change and pass on, without warranty.</p>"
              "<p>Built with Qt %2, under the GNU LGPL version 3; Help ▸ About Qt tells "
              "more.</p>")
        .arg(designerVersion(), QString::fromLatin1(qVersion()));
}

void DesignerWindow::showAbout() {
    QMessageBox::about(this, tr("About the core designer"), aboutText());
}

// The box of one input: a list of choices, or a line of text that keeps any
// paste whole; every change, typed or made by a screen reader, recomputes.
QWidget* DesignerWindow::newInputControl(const InputRow& row, QWidget* parent) {
    QWidget* control = nullptr;
    if (row.kind == InputKind::Choice) {
        auto* choices = new QComboBox(parent);
        for (const Choice& choice : choicesOf(row)) {
            choices->addItem(choice.label, choice.key);
        }
        connect(choices, &QComboBox::currentIndexChanged, this,
                [this, key = keyOf(row)] { edited(key); });
        control = choices;
    } else {
        auto* edit = new QLineEdit(parent);
        // The toolkit's own limit would cut a long paste.
        edit->setMaxLength(std::numeric_limits<int>::max());
        connect(edit, &QLineEdit::textChanged, this, [this, key = keyOf(row)] { edited(key); });
        edit->setReadOnly(row.kind == InputKind::CurveFile);
        if (row.input == DesignInput::JointCurve) {
            edit->setPlaceholderText(tr("Typical 45° joint curve"));
        }
        control = edit;
    }
    control->setObjectName(keyOf(row));
    control->setAccessibleName(labelOf(row));
    control->setToolTip(hintOf(row));
    return control;
}

// The buttons beside a curve file's box: choose a file, and for the joints
// go back to the typical curve.
QList<QPushButton*> DesignerWindow::newCurveButtons(const InputRow& row, QWidget* parent) {
    const bool joints = row.input == DesignInput::JointCurve;
    auto* choose = new QPushButton(tr("Choose…"), parent);
    choose->setObjectName(chooseButtonName(row));
    choose->setAccessibleName(joints ? tr("Choose joint curve file") : tr("Choose curve file"));
    connect(choose, &QPushButton::clicked, this,
            [this, input = row.input] { chooseCurveFile(input); });
    if (!joints) {
        return {choose};
    }
    auto* typical = new QPushButton(tr("Typical"), parent);
    typical->setObjectName(QStringLiteral("typicalJointCurve"));
    typical->setAccessibleName(tr("Use the typical joint curve"));
    typical->setToolTip(tr("The typical figures of a 45° joint, in place of the file."));
    connect(typical, &QPushButton::clicked, this, [this] { document_->useTypicalJointCurve(); });
    return {choose, typical};
}

QWidget* DesignerWindow::buildInputs() {
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("inputs"));
    auto* column = new QVBoxLayout(panel);
    QWidget* previous = nullptr;
    const auto chain = [&](QWidget* next) {
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, next);
        }
        previous = next;
    };
    QGroupBox* box = nullptr;
    QFormLayout* form = nullptr;
    std::optional<Group> group;
    for (const InputRow& row : inputRows()) {
        if (group != row.group) {
            group = row.group;
            box = new QGroupBox(groupTitle(row.group), panel);
            box->setObjectName(QStringLiteral("group%1").arg(static_cast<int>(row.group)));
            form = new QFormLayout(box);
            column->addWidget(box);
        }
        QWidget* control = newInputControl(row, box);
        auto* line = new QHBoxLayout;
        line->addWidget(control, 1);
        chain(control);
        if (row.kind == InputKind::CurveFile) {
            for (QPushButton* button : newCurveButtons(row, box)) {
                line->addWidget(button);
                chain(button);
            }
        }
        if (*row.unit != '\0') {
            auto* unit = new QLabel(QString::fromUtf8(row.unit), box);
            unit->setObjectName(keyOf(row) + QStringLiteral("Unit"));
            unit->setMinimumWidth(36);
            line->addWidget(unit);
        }
        auto* label = new QLabel(labelOf(row), box);
        label->setObjectName(keyOf(row) + QStringLiteral("Label"));
        label->setBuddy(control);
        form->addRow(label, line);
        inputs_.insert(keyOf(row), control);
    }
    column->addStretch(1);
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("inputScroll"));
    scroll->setWidget(panel);
    scroll->setWidgetResizable(true);
    scroll->setMinimumWidth(panel->sizeHint().width() + 24);
    return scroll;
}

QWidget* DesignerWindow::buildOutputs() {
    auto* outputs = new QSplitter(Qt::Vertical);
    outputs->setObjectName(QStringLiteral("outputs"));

    auto* top = new QWidget(outputs);
    auto* topRow = new QHBoxLayout(top);
    topRow->setContentsMargins(0, 0, 0, 0);
    section_ = new SectionView(top);
    section_->setObjectName(QStringLiteral("section"));
    section_->setAccessibleName(tr("Section"));
    topRow->addWidget(section_, 3);

    // The results scroll on their own, as the inputs do: with the rating and
    // the guarantee they are taller than a laptop's screen, and the tables
    // below keep their rows.
    auto* panel = new QWidget;
    auto* values = new QVBoxLayout(panel);
    std::optional<ValueGroup> group;
    QFormLayout* form = nullptr;
    for (const ValueRow& row : valueRows(nullptr)) {
        if (group != row.group) {
            group = row.group;
            auto* box = new QGroupBox(valueGroupTitle(row.group), panel);
            box->setObjectName(QStringLiteral("results%1").arg(static_cast<int>(row.group)));
            form = new QFormLayout(box);
            values->addWidget(box);
        }
        auto* field = new QLineEdit(panel);
        field->setReadOnly(true);
        field->setObjectName(QLatin1String(row.key));
        field->setAccessibleName(row.label);
        auto* label = new QLabel(row.label, panel);
        label->setObjectName(QLatin1String(row.key) + QStringLiteral("Label"));
        label->setBuddy(field);
        form->addRow(label, field);
        outputs_.insert(QLatin1String(row.key), field);
    }
    outputs_.value(QStringLiteral("frameMass"))
        ->setToolTip(tr("Every piece of the frame as cut: the true mass."));
    values->addStretch(1);
    auto* scroll = new QScrollArea(top);
    scroll->setObjectName(QStringLiteral("resultScroll"));
    scroll->setWidget(panel);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setMinimumWidth(panel->sizeHint().width() + 24);
    topRow->addWidget(scroll, 2);

    auto* tables = new QSplitter(Qt::Horizontal, outputs);
    tables->setObjectName(QStringLiteral("tables"));
    stageTable_ = makeTable(QStringLiteral("stageTable"), tr("Stage table"), tables);
    cutList_ = makeTable(QStringLiteral("cutList"), tr("Cut list"), tables);
    tables->setStretchFactor(0, 2);
    tables->setStretchFactor(1, 3);
    outputs->setSizes({520, 400});
    tables->setSizes({380, 620});
    return outputs;
}

// The document's texts in the controls, and its name in the title.
void DesignerWindow::showTexts() {
    const QScopedValueRollback filling(filling_, true);
    const DesignTexts& texts = document_->texts();
    for (auto it = texts.begin(); it != texts.end(); ++it) {
        QWidget* control = inputs_.value(it.key());
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            setShownText(*edit, it.value());
        } else if (auto* choices = qobject_cast<QComboBox*>(control)) {
            choices->setCurrentIndex(std::max(0, choices->findData(it.value())));
        }
    }
    updateTitle();
}

void DesignerWindow::edited(const QString& key) {
    if (filling_) {
        return;  // the window fills its own fields
    }
    QWidget* control = inputs_.value(key);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        const QString typed = edit->text();
        const int cursor = edit->cursorPosition();
        document_->setText(key, typed);
        // The document keeps the widths normalised and the box shows them so
        // at once; the cursor stays after what was typed.
        if (edit->text() != typed) {
            edit->setCursorPosition(
                static_cast<int>(DesignDocument::enteredText(key, typed.left(cursor)).size()));
        }
    } else if (const auto* choices = qobject_cast<const QComboBox*>(control)) {
        document_->setText(key, choices->currentData().toString());
    }
}

void DesignerWindow::updateModes(const DesignTexts& texts) {
    for (const InputRow& row : inputRows()) {
        QWidget* control = inputs_.value(keyOf(row));
        const bool used = isUsed(texts, row.input);
        if (row.kind == InputKind::Choice) {
            continue;
        }
        // D and the widths show what the core chose when they are not typed,
        // so they stay readable and copyable, but read-only and shaded as an
        // output, out of the tab order.
        if (row.input == DesignInput::Diameter || row.kind == InputKind::WidthList) {
            auto* edit = static_cast<QLineEdit*>(control);
            if (edit->isReadOnly() != !used) {
                edit->setReadOnly(!used);
                edit->setFocusPolicy(used ? Qt::StrongFocus : Qt::ClickFocus);
                edit->setAccessibleDescription(used ? QString() : tr("chosen by the design"));
                paintBase(*edit);
            }
        } else {
            control->setEnabled(used);
        }
    }
    for (const InputRow& row : inputRows()) {
        if (row.kind == InputKind::CurveFile) {
            findChild<QPushButton*>(chooseButtonName(row))->setEnabled(isUsed(texts, row.input));
        }
    }
}

// Shows the document's last evaluation.
void DesignerWindow::recompute() {
    updateModes(document_->texts());
    QList<InputProblem> problems = document_->readingProblems();
    for (const core_design::Problem& problem : document_->designProblems()) {
        problems.append({problem.input, problemText(problem, currentLanguage())});
    }
    // Out of date, the document's design is the last whole one before the
    // edit at fault, which may not be the one on screen: it is shown greyed.
    if (document_->design() != nullptr) {
        showDesign(*document_->design());
    }
    showProblems(problems);
    markOutOfDate(!problems.isEmpty());
}

void DesignerWindow::showDesign(const core_design::Design& design) {
    // What the core chose stands in the fields it fills, ready to be taken
    // over as given widths.
    const QScopedValueRollback filling(filling_, true);
    const DesignTexts& current = texts();
    const DesignTexts chosen = chosenTexts(design);
    for (auto it = chosen.begin(); it != chosen.end(); ++it) {
        if (!isUsed(current, findInputRow(it.key())->input)) {
            setShownText(*static_cast<QLineEdit*>(inputs_.value(it.key())),
                         current.value(it.key()));
        }
    }
    section_->setSection(design.section);
    for (const ValueRow& row : valueRows(&design)) {
        QLineEdit& field = *outputs_.value(QLatin1String(row.key));
        showResult(field, row.text);
        field.setProperty("tone", static_cast<int>(row.tone));
        paintTone(field, field.palette());
    }
    fillTable(*stageTable_, stageTableHeader(), stageTableRows(design));
    fillTable(*cutList_, cutListHeader(), cutListRows(design));
}

void DesignerWindow::showProblems(const QList<InputProblem>& problems) {
    for (const InputRow& row : inputRows()) {
        QWidget* control = inputs_.value(keyOf(row));
        const auto problem = std::ranges::find_if(
            problems, [&](const InputProblem& p) { return findInputRow(p.input) == &row; });
        const bool marked = problem != problems.end();
        if (control->property("marked").toBool() == marked &&
            (!marked || control->toolTip() == problem->message)) {
            continue;
        }
        control->setProperty("marked", marked);
        paintBase(*control);
        control->setToolTip(marked ? problem->message : hintOf(row));
        control->setAccessibleDescription(marked ? problem->message : QString());
    }
    if (problems.isEmpty()) {
        statusBar()->clearMessage();
        return;
    }
    const InputRow* row = findInputRow(problems.front().input);
    statusBar()->showMessage(
        tr("%1: %2").arg(row ? labelOf(*row) : QString(), problems.front().message));
}

void DesignerWindow::markOutOfDate(bool outOfDate) {
    const bool shown = document_->design() != nullptr;
    section_->setOutOfDate(outOfDate && shown);
    const QString note = outOfDate ? tr("out of date") : QString();
    QPalette palette = QApplication::palette();
    if (outOfDate) {
        palette.setColor(QPalette::Text, palette.color(QPalette::Disabled, QPalette::Text));
    }
    for (QLineEdit* field : std::as_const(outputs_)) {
        paintTone(*field, palette);
        field->setAccessibleDescription(note);
    }
    for (QTableWidget* table : {stageTable_, cutList_}) {
        table->setPalette(palette);
        table->setAccessibleDescription(note);
    }
    for (QAction* action : std::as_const(designActions_)) {
        action->setEnabled(!outOfDate && shown);
    }
}

QString DesignerWindow::designName() const {
    return document_->name();
}

void DesignerWindow::updateTitle() {
    setWindowTitle(tr("%1[*] — Core designer").arg(designName()));
}

void DesignerWindow::reportProblem(const QString& title, const QString& message) {
    if (report_) {
        report_(title, message);
        return;
    }
    QMessageBox::warning(this, title, message);
}

void DesignerWindow::reportNotOpened(const QString& path, const FileError& error) {
    reportProblem(tr("Cannot open"), tr("Cannot open %1:\n%2\n\nThe window keeps what it had.")
                                         .arg(QDir::toNativeSeparators(path), error.message));
}

bool DesignerWindow::openFile(const QString& path) {
    if (const std::optional<FileError> error = document_->open(path)) {
        reportNotOpened(path, *error);
        return false;
    }
    // Nothing read leniently is taken without a word.
    if (const QStringList& notes = document_->sheetReadingNotes(); !notes.isEmpty()) {
        reportProblem(tr("Sheet read leniently"),
                      tr("%1 does not hold one plain number in every field the calculations "
                         "read. The design takes what the calculations read:\n\n%2\n\nCheck "
                         "these inputs before using the design.")
                          .arg(QDir::toNativeSeparators(path), notes.join(QLatin1Char('\n'))));
    }
    return true;
}

std::optional<QString> DesignerWindow::saveDesign(const QString& path) {
    return document_->save(path);
}

std::optional<QString> DesignerWindow::exportSheet(const QString& path) {
    return exporter_.exportSheet(path);
}

std::optional<QString> DesignerWindow::exportSectionSvg(const QString& path) {
    return exporter_.exportSectionSvg(path);
}

std::optional<QString> DesignerWindow::exportCutListCsv(const QString& path) {
    return exporter_.exportCutListCsv(path);
}

std::optional<QString> DesignerWindow::exportReportPdf(const QString& path) {
    return exporter_.exportReportPdf(path);
}

std::optional<QString> DesignerWindow::exportSectionDxf(const QString& path) {
    return exporter_.exportSectionDxf(path);
}

std::optional<QString> DesignerWindow::exportCutListDxf(const QString& path) {
    return exporter_.exportCutListDxf(path);
}

bool DesignerWindow::mayDiscardChanges() {
    if (!document_->isModified()) {
        return true;
    }
    Unsaved answer = Unsaved::Cancel;
    if (askUnsaved_) {
        answer = askUnsaved_();
    } else {
        const auto button = QMessageBox::question(
            this, tr("Unsaved changes"),
            tr("The design %1 has changes that are not saved. Save them?").arg(designName()),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        answer = button == QMessageBox::Save      ? Unsaved::Save
                 : button == QMessageBox::Discard ? Unsaved::Discard
                                                  : Unsaved::Cancel;
    }
    switch (answer) {
        case Unsaved::Save:
            return save();
        case Unsaved::Discard:
            return true;
        case Unsaved::Cancel:
            return false;
    }
    return false;
}

void DesignerWindow::closeEvent(QCloseEvent* event) {
    if (mayDiscardChanges()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void DesignerWindow::newDesign() {
    if (mayDiscardChanges()) {
        document_->clear();
    }
}

void DesignerWindow::chooseAndOpen() {
    if (!mayDiscardChanges()) {
        return;
    }
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Open design"), QFileInfo(filePath()).path(),
        tr("Kalvitra designs (*.kvd);;Kalvitra sheets (*.kvs);;All files (*)"));
    if (!path.isEmpty()) {
        openFile(path);
    }
}

void DesignerWindow::chooseAndOpenSheet() {
    if (!mayDiscardChanges()) {
        return;
    }
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Open sheet"), QFileInfo(filePath()).path(),
                                     tr("Kalvitra sheets (*.kvs);;All files (*)"));
    if (!path.isEmpty()) {
        openFile(path);
    }
}

bool DesignerWindow::save() {
    return filePath().isEmpty() ? saveAs() : saveReported(filePath());
}

bool DesignerWindow::saveAs() {
    QString path = QFileDialog::getSaveFileName(this, tr("Save design"), filePath(),
                                                tr("Kalvitra designs (*.kvd)"));
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".kvd");
    }
    return saveReported(path);
}

bool DesignerWindow::saveReported(const QString& path) {
    if (const std::optional<QString> error = saveDesign(path)) {
        reportProblem(tr("Not saved"), tr("%1 was not saved:\n%2\n\nThe file on disk is as it was.")
                                           .arg(QDir::toNativeSeparators(path), *error));
        return false;
    }
    return true;
}

void DesignerWindow::chooseCurveFile(DesignInput curve) {
    const QString title =
        curve == DesignInput::JointCurve ? tr("Choose joint curve file") : tr("Choose curve file");
    const QString path = QFileDialog::getOpenFileName(this, title, QString(),
                                                      tr("CSV tables (*.csv);;All files (*)"));
    if (path.isEmpty()) {
        return;
    }
    if (const std::optional<FileError> error = document_->takeCurveFile(path, curve)) {
        reportNotOpened(path, *error);
    }
}

void DesignerWindow::exportWith(const QString& title, const QString& filter, const QString& ending,
                                std::optional<QString> (DesignerWindow::*write)(const QString&)) {
    const QString suggested =
        QDir(filePath().isEmpty() ? QDir::homePath() : QFileInfo(filePath()).path())
            .filePath(designName() + ending);
    QString path = QFileDialog::getSaveFileName(this, title, suggested, filter);
    if (path.isEmpty()) {
        return;
    }
    if (const std::optional<QString> error = (this->*write)(path)) {
        reportProblem(tr("Not written"),
                      tr("%1 was not written:\n%2").arg(QDir::toNativeSeparators(path), *error));
        return;
    }
    statusBar()->showMessage(tr("Written: %1").arg(QDir::toNativeSeparators(path)), 5000);
}

void DesignerWindow::openInCalculator() {
    using Problem = CalculatorLauncher::Problem;
    const CalculatorLauncher::Launch launch = CalculatorLauncher().launch(exporter_, designName());
    if (!launch.problem) {
        return;
    }
    switch (*launch.problem) {
        case Problem::NoCalculator:
            reportProblem(tr("No calculator"),
                          tr("The calculator kalvitra is neither beside the designer nor on the "
                             "PATH."));
            break;
        case Problem::SheetNotWritten:
            reportProblem(tr("Not written"),
                          tr("%1 was not written:\n%2")
                              .arg(QDir::toNativeSeparators(launch.sheet), launch.reason));
            break;
        case Problem::NotStarted:
            reportProblem(tr("No calculator"),
                          tr("%1 could not be started.").arg(launch.command->program));
            break;
    }
}

void DesignerWindow::print() {
    if (const std::optional<QString> error = exporter_.print()) {
        reportProblem(tr("Not printed"), tr("The report was not printed:\n%1").arg(*error));
        return;
    }
    statusBar()->showMessage(tr("The report went to the default printer."), 5000);
}

}  // namespace kalvitra::designer
