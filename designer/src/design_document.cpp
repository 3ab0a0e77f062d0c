#include "kalvitra/designer/design_document.h"

#include <QFileInfo>

#include "kalvitra/designer/language.h"
#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/text/typed_numbers.h"

namespace kalvitra::designer {

DesignDocument::DesignDocument(QObject* parent) : QObject(parent), texts_(defaultTexts()) {
    evaluate();
}

QString DesignDocument::name() const {
    return path_.isEmpty() ? tr("Untitled") : QFileInfo(path_).completeBaseName();
}

QString DesignDocument::enteredText(const QString& key, const QString& text) {
    const InputRow* row = findInputRow(key);
    if (row == nullptr || row->kind != InputKind::WidthList) {
        return text;
    }
    // A pasted column or a list with commas is kept as the words read, on
    // one line, for the box, the file and the report alike.
    return QString::fromStdString(normaliseWidthList(text.toStdString()));
}

void DesignDocument::setText(const QString& key, const QString& text) {
    if (key != editingKey_) {
        editingKey_ = key;
        designBeforeEdit_ = design_;
    }
    texts_[key] = enteredText(key, text);
    evaluate();
    Q_EMIT changed();
    setModified(true);
}

void DesignDocument::clear() {
    sheetReadings_.clear();
    sheetReadingNotes_.clear();
    replace(defaultTexts(), QString(), false);
}

std::optional<FileError> DesignDocument::open(const QString& path) {
    const bool isDesign = path.endsWith(QLatin1String(".kvd"), Qt::CaseInsensitive);
    const FileRead read = isDesign ? readDesignFile(path) : readSheetFile(path, texts_);
    if (read.error) {
        return read.error;
    }
    sheetReadings_ = read.lenient;
    sheetReadingNotes_ = lenientNotes(read.lenient, read.texts);
    // A sheet becomes a new design: saving it asks for a design file.
    replace(read.texts, isDesign ? path : QString(), !isDesign);
    return std::nullopt;
}

std::optional<FileError> DesignDocument::takeCurveFile(const QString& path, DesignInput curve) {
    const FileRead read = readCurveFile(path, texts_, curve);
    if (read.error) {
        return read.error;
    }
    replace(read.texts, path_, true);
    return std::nullopt;
}

void DesignDocument::useTypicalJointCurve() {
    const QString fileKey = QLatin1String(definitionOf(DesignInput::JointCurve).key);
    if (texts_.value(fileKey).isEmpty() && texts_.value(kJointCurveTextKey).isEmpty()) {
        return;
    }
    DesignTexts texts = texts_;
    texts[fileKey] = QString();
    texts[kJointCurveTextKey] = QString();
    replace(texts, path_, true);
}

std::optional<QString> DesignDocument::save(const QString& path) {
    if (std::optional<QString> error = saveBytes(path, writeDesignFile(texts_))) {
        return error;
    }
    path_ = path;
    Q_EMIT changed();
    setModified(false);
    return std::nullopt;
}

void DesignDocument::replace(const DesignTexts& texts, const QString& path, bool modified) {
    editingKey_.clear();
    texts_ = texts;
    for (auto it = texts_.begin(); it != texts_.end(); ++it) {
        it.value() = enteredText(it.key(), it.value());
    }
    path_ = path;
    evaluate();
    Q_EMIT changed();
    setModified(modified);
}

void DesignDocument::setModified(bool modified) {
    if (modified_ != modified) {
        modified_ = modified;
        Q_EMIT modifiedChanged(modified);
    }
}

// What the core chose for the design kept stands in the inputs the mode
// leaves unused.
void DesignDocument::takeChosenTexts() {
    if (!design_) {
        return;
    }
    const DesignTexts chosen = chosenTexts(*design_);
    for (auto it = chosen.begin(); it != chosen.end(); ++it) {
        if (!isUsed(texts_, findInputRow(it.key())->input)) {
            texts_[it.key()] = it.value();
        }
    }
}

// The core's design of the texts. What the core chose (best widths, or the
// diameter found) stands in the texts of the inputs the mode leaves unused,
// ready to be taken over as given.
void DesignDocument::evaluate() {
    FormReading reading = readForm(texts_);
    readingProblems_ = reading.problems;
    designProblems_.clear();
    if (readingProblems_.isEmpty()) {
        core_design::Evaluation evaluation =
            core_design::evaluate(reading.inputs, currentLanguage());
        designProblems_ = std::move(evaluation.problems);
        if (evaluation.design) {
            design_ = std::move(evaluation.design);
            takeChosenTexts();
            Q_EMIT evaluated();
            return;
        }
    }
    // Out of date while a box is being typed in ("1" on the way to "12"):
    // the design shown greyed is the last one before that box was touched,
    // not one of its half-typed texts.
    if (!editingKey_.isEmpty()) {
        design_ = designBeforeEdit_;
        takeChosenTexts();
    }
    Q_EMIT evaluated();
}

}  // namespace kalvitra::designer
