#include "kalvitra/designer/design_document.h"

#include <QFileInfo>

#include "kalvitra/designer/language.h"

namespace kalvitra::designer {

DesignDocument::DesignDocument(QObject* parent) : QObject(parent), texts_(defaultTexts()) {
    evaluate();
}

QString DesignDocument::name() const {
    return path_.isEmpty() ? tr("Untitled") : QFileInfo(path_).completeBaseName();
}

void DesignDocument::setText(const QString& key, const QString& text) {
    texts_[key] = text;
    evaluate();
    Q_EMIT changed();
    setModified(true);
}

void DesignDocument::clear() {
    replace(defaultTexts(), QString(), false);
}

std::optional<FileError> DesignDocument::open(const QString& path) {
    const bool isDesign = path.endsWith(QLatin1String(".kvd"), Qt::CaseInsensitive);
    const FileRead read = isDesign ? readDesignFile(path) : readSheetFile(path, texts_);
    if (read.error) {
        return read.error;
    }
    // A sheet becomes a new design: saving it asks for a design file.
    replace(read.texts, isDesign ? path : QString(), !isDesign);
    return std::nullopt;
}

std::optional<FileError> DesignDocument::takeCurveFile(const QString& path) {
    const FileRead read = readCurveFile(path, texts_);
    if (read.error) {
        return read.error;
    }
    replace(read.texts, path_, true);
    return std::nullopt;
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
    texts_ = texts;
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
            const DesignTexts chosen = chosenTexts(*design_);
            for (auto it = chosen.begin(); it != chosen.end(); ++it) {
                if (!isUsed(texts_, findInputRow(it.key())->input)) {
                    texts_[it.key()] = it.value();
                }
            }
        }
    }
    Q_EMIT evaluated();
}

}  // namespace kalvitra::designer
