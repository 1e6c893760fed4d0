#include "catalog/recordsource.h"

#include <limits>

namespace catalog {

std::optional<RecordSource> parseRecordSource(QStringView text)
{
    if (text == QLatin1String(kListOrderSource))
        return RecordSource::ListOrder;
    if (text == QLatin1String(kMergeOrderSource))
        return RecordSource::MergeOrder;
    if (text == QLatin1String(kPhotoOrderSource))
        return RecordSource::PhotoOrder;
    return std::nullopt;
}

QString recordSourceText(RecordSource source)
{
    switch (source) {
    case RecordSource::ListOrder:
        return QLatin1String(kListOrderSource);
    case RecordSource::MergeOrder:
        return QLatin1String(kMergeOrderSource);
    case RecordSource::PhotoOrder:
        return QLatin1String(kPhotoOrderSource);
    }
    return {};
}

namespace {

// A cursor over the criterion text that consumes exact literals and numbers.
class Scanner {
public:
    explicit Scanner(QStringView text) : text_(text) {}

    bool atEnd() const { return pos_ == text_.size(); }

    bool literal(QLatin1String word)
    {
        if (text_.mid(pos_).startsWith(word)) {
            pos_ += word.size();
            return true;
        }
        return false;
    }

    // " AND " or " and ": both spellings are in use.
    bool conjunction() { return literal(QLatin1String(" AND ")) || literal(QLatin1String(" and ")); }

    bool number(int& out)
    {
        qsizetype p = pos_;
        bool negative = false;
        if (p < text_.size() && text_[p] == u'-') {
            negative = true;
            ++p;
        }
        const qsizetype digitsStart = p;
        qint64 value = 0;
        while (p < text_.size() && text_[p] >= u'0' && text_[p] <= u'9') {
            value = value * 10 + (text_[p].unicode() - u'0');
            if (value > 100000)  // far outside 16 bits; stop before it can overflow
                return false;
            ++p;
        }
        if (p == digitsStart)
            return false;
        if (negative)
            value = -value;
        if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
            return false;
        out = int(value);
        pos_ = p;
        return true;
    }

private:
    QStringView text_;
    qsizetype pos_ = 0;
};

}  // namespace

std::optional<Criterion> parseCriterion(QStringView text)
{
    Scanner s(text);
    Criterion c;
    if (s.literal(QLatin1String("FileNo = "))) {
        c.form = Criterion::Form::FileNoOnly;
        if (s.number(c.fileNo) && s.atEnd())
            return c;
        return std::nullopt;
    }
    if (!s.literal(QLatin1String("PictureID = ")) || !s.number(c.pictureId))
        return std::nullopt;
    if (s.atEnd()) {
        c.form = Criterion::Form::Category;
        return c;
    }
    if (!s.conjunction())
        return std::nullopt;
    if (s.literal(QLatin1String("FileNo = "))) {
        c.form = Criterion::Form::Part;
        if (s.number(c.fileNo) && s.atEnd())
            return c;
        return std::nullopt;
    }
    c.form = Criterion::Form::Range;
    if (s.literal(QLatin1String("FileNo >= ")) && s.number(c.low) && s.conjunction()
        && s.literal(QLatin1String("FileNo <= ")) && s.number(c.high) && s.atEnd())
        return c;
    return std::nullopt;
}

QString categoryCriterion(int pictureId)
{
    return QStringLiteral("PictureID = ") + QString::number(pictureId);
}

QString partCriterion(int pictureId, int fileNo)
{
    return QStringLiteral("PictureID = ") + QString::number(pictureId)
        + QStringLiteral(" AND FileNo = ") + QString::number(fileNo);
}

QString fileNoCriterion(int fileNo)
{
    return QStringLiteral("FileNo = ") + QString::number(fileNo);
}

}  // namespace catalog
