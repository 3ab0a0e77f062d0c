#pragma once

#include <QHash>
#include <QMainWindow>
#include <QString>
#include <functional>
#include <optional>

#include "kalvitra/design/evaluation.h"
#include "kalvitra/designer/design_document.h"
#include "kalvitra/designer/design_exporter.h"
#include "kalvitra/designer/form.h"

class QLineEdit;
class QPushButton;
class QTableWidget;
class QAction;

// The designer's window: the inputs in their groups on the left, the section,
// the results and the two tables on the right. It is the view of a
// DesignDocument: every edit goes to the document, which evaluates the whole
// design through the core, and the window shows it at once; an input the
// design cannot take is marked, and the last whole design stays on screen,
// marked as out of date. Its exports are a DesignExporter's.

namespace kalvitra::designer {

class SectionView;

class DesignerWindow final : public QMainWindow {
    Q_OBJECT

public:
    // Tells the designer about a failed file operation; tests put their own
    // in place of the message box.
    using Reporter = std::function<void(const QString& title, const QString& message)>;
    // Asked before unsaved changes would be lost.
    enum class Unsaved { Save, Discard, Cancel };
    using UnsavedQuestion = std::function<Unsaved()>;

    explicit DesignerWindow(QWidget* parent = nullptr);
    ~DesignerWindow() override;

    // The control of an input, by its key (which is also its object name).
    QWidget* inputControl(const QString& key) const { return inputs_.value(key); }
    QLineEdit* outputField(const QString& key) const { return outputs_.value(key); }
    SectionView* sectionView() const { return section_; }
    QTableWidget* stageTable() const { return stageTable_; }
    QTableWidget* cutListTable() const { return cutList_; }

    // The last whole design, shown; null before the first.
    const core_design::Design* design() const { return document_->design(); }
    bool isOutOfDate() const { return document_->isOutOfDate(); }
    const DesignTexts& texts() const { return document_->texts(); }
    const QString& filePath() const { return document_->filePath(); }

    void setReporter(Reporter reporter) { report_ = std::move(reporter); }
    void setUnsavedQuestion(UnsavedQuestion question) { askUnsaved_ = std::move(question); }

    // Opens a design (.kvd) or a sheet (any other name). A file that cannot
    // be read is reported and the window keeps what it had. Returns whether
    // it was opened.
    bool openFile(const QString& path);
    // Each returns what went wrong, or nothing; the old file is left whole
    // when a write fails.
    std::optional<QString> saveDesign(const QString& path);
    std::optional<QString> exportSheet(const QString& path);
    std::optional<QString> exportSectionSvg(const QString& path);
    std::optional<QString> exportCutListCsv(const QString& path);
    std::optional<QString> exportReportPdf(const QString& path);
    std::optional<QString> exportSectionDxf(const QString& path);
    std::optional<QString> exportCutListDxf(const QString& path);

    // The menus' commands that have a shortcut, menu by menu: their text and
    // the shortcut as this system writes it, from the actions themselves.
    QList<QStringList> shortcutRows() const;
    // The About box's text: the version, the licence, Qt's notice.
    static QString aboutText();

    // Asks about unsaved changes; false when the designer cancels.
    bool mayDiscardChanges();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildHelpMenu();
    QWidget* buildInputs();
    QWidget* newInputControl(const InputRow& row, QWidget* parent);
    QList<QPushButton*> newCurveButtons(const InputRow& row, QWidget* parent);
    QWidget* buildOutputs();
    void showTexts();
    void edited(const QString& key);
    void recompute();
    void showDesign(const core_design::Design& design);
    void reportNotOpened(const QString& path, const FileError& error);
    void showProblems(const QList<InputProblem>& problems);
    void markOutOfDate(bool outOfDate);
    void updateModes(const DesignTexts& texts);
    void updateTitle();
    QString designName() const;
    void reportProblem(const QString& title, const QString& message);
    void newDesign();
    void chooseAndOpen();
    void chooseAndOpenSheet();
    bool save();
    bool saveAs();
    bool saveReported(const QString& path);
    void chooseCurveFile(DesignInput curve);
    void openInCalculator();
    // Asks where to write, suggesting the design's name with the ending
    // ("-section.dxf"), so that no two exports suggest the same file.
    void exportWith(const QString& title, const QString& filter, const QString& ending,
                    std::optional<QString> (DesignerWindow::*write)(const QString&));
    void print();
    void openUserGuide();
    void showShortcuts();
    void showAbout();

    QHash<QString, QWidget*> inputs_;
    QHash<QString, QLineEdit*> outputs_;
    SectionView* section_ = nullptr;
    QTableWidget* stageTable_ = nullptr;
    QTableWidget* cutList_ = nullptr;
    QList<QAction*> designActions_;  // need a whole design

    DesignDocument* document_ = nullptr;
    DesignExporter exporter_;
    bool filling_ = false;  // the window is setting its fields itself
    Reporter report_;
    UnsavedQuestion askUnsaved_;
};

}  // namespace kalvitra::designer
