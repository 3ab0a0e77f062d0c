#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <optional>
#include <vector>

#include "kalvitra/design/evaluation.h"
#include "kalvitra/designer/files.h"
#include "kalvitra/designer/form.h"

// The design the designer works on, without any window: the text of every
// input (the curve file's text among them), the design file it came from,
// whether it changed since, and what the core made of the texts last. Every
// change evaluates the whole design again; a window only shows it and hands
// it the edits.

namespace kalvitra::designer {

class DesignDocument final : public QObject {
    Q_OBJECT

public:
    explicit DesignDocument(QObject* parent = nullptr);

    const DesignTexts& texts() const { return texts_; }
    // The design file; empty for a new design or one made from a sheet.
    const QString& filePath() const { return path_; }
    // The file's name without its suffix, or "Untitled".
    QString name() const;
    bool isModified() const { return modified_; }

    // The texts that do not read as what they must be, and the inputs the
    // core refused, of the last evaluation: all empty when it made a design.
    const QList<InputProblem>& readingProblems() const { return readingProblems_; }
    const std::vector<core_design::Problem>& designProblems() const { return designProblems_; }
    bool isOutOfDate() const { return !readingProblems_.isEmpty() || !designProblems_.empty(); }
    // The last whole design, which the last evaluation made unless the
    // document is out of date; null before the first. Out of date, it is the
    // last design before the input being edited was first changed, so the
    // half-typed texts that led up to the error are not shown.
    const core_design::Design* design() const { return design_ ? &*design_ : nullptr; }

    // The fields of the sheet last opened that were read leniently, and a
    // line for each in the UI language naming what the design took; empty
    // after a design file, a new design or a refused sheet.
    const std::vector<LenientFinding>& sheetReadings() const { return sheetReadings_; }
    const QStringList& sheetReadingNotes() const { return sheetReadingNotes_; }

    // An input's text as the designer changed it: the document is modified.
    // The widths are kept normalised (normaliseWidthList): the words read,
    // one blank between, whatever separated them.
    void setText(const QString& key, const QString& text);
    // The text the document keeps for what was entered in the input.
    static QString enteredText(const QString& key, const QString& text);
    // A new design of the default texts, not modified and without a file.
    void clear();

    // Opens a design (.kvd), or a sheet (any other name) over the texts,
    // which becomes a new, modified design. A file that cannot be read
    // leaves the document as it was.
    std::optional<FileError> open(const QString& path);
    // Takes a loss curve file's path and text, and chooses it as the grade;
    // or a joint curve file's (JointCurve), in place of the typical curve.
    std::optional<FileError> takeCurveFile(const QString& path,
                                           DesignInput curve = DesignInput::Curve);
    // Drops the joint curve file: the typical joint curve.
    void useTypicalJointCurve();
    // Writes the design file; the old file stays whole when that fails.
    std::optional<QString> save(const QString& path);

Q_SIGNALS:
    // The texts or the file changed.
    void changed();
    void modifiedChanged(bool modified);
    // The texts were evaluated again.
    void evaluated();

private:
    void replace(const DesignTexts& texts, const QString& path, bool modified);
    void setModified(bool modified);
    void evaluate();
    void takeChosenTexts();

    DesignTexts texts_;
    QString path_;
    bool modified_ = false;
    QList<InputProblem> readingProblems_;
    std::vector<core_design::Problem> designProblems_;
    std::optional<core_design::Design> design_;
    // The input typed in last, and the design from before its first change.
    QString editingKey_;
    std::optional<core_design::Design> designBeforeEdit_;
    std::vector<LenientFinding> sheetReadings_;
    QStringList sheetReadingNotes_;
};

}  // namespace kalvitra::designer
