#include "print/layoutfields.h"

#include "print/printprompts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>
#include <QVBoxLayout>

namespace print {

namespace {

class LengthLimit final : public QValidator {
public:
    LengthLimit(int maxLength, QObject* parent) : QValidator(parent), max_(maxLength) {}
    State validate(QString& input, int&) const override
    {
        return input.size() <= max_ ? Acceptable : Invalid;
    }

private:
    int max_;
};

struct FrameInfo {
    const char16_t* title;
    const char16_t* labels[2];
    const char* names[2];
    int fields[2];
};

constexpr FrameInfo kFrames[] = {
    {u"面数", {u"縦", u"×横"}, {"block_0", "block_1"}, {Rows, Columns}},
    {u"余白", {u"上", u"左"}, {"Blank_0", "Blank_1"}, {TopMargin, LeftMargin}},
    {u"画像サイズ", {u"幅", u"高さ"}, {"PictSize_0", "PictSize_1"}, {PictureWidth, PictureHeight}},
    {u"画像間隔", {u"上下", u"左右"}, {"Gap_0", "Gap_1"}, {RowGap, ColumnGap}},
};

}  // namespace

void limitTyping(QLineEdit* edit, int maxLength)
{
    edit->setValidator(new LengthLimit(maxLength, edit));
}

void ShowSheetLayoutError(PrintPrompts& prompts, QWidget* parent, int code)
{
    prompts.warning(parent, QString::fromUtf16(kLayoutErrorTitle), sheetLayoutErrorText(code));
}

LayoutFields::LayoutFields(QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    int at = 0;
    for (const FrameInfo& frameInfo : kFrames) {
        auto* frame = new QGroupBox(QString::fromUtf16(frameInfo.title), this);
        auto* row = new QHBoxLayout(frame);
        for (int i = 0; i < 2; ++i) {
            auto* label = new QLabel(QString::fromUtf16(frameInfo.labels[i]), frame);
            auto* edit = new QLineEdit(frame);
            edit->setObjectName(QLatin1String(frameInfo.names[i]));
            // The format's field number is the layout field's plus one.
            limitTyping(edit, fieldMaxLength(frameInfo.fields[i] + 1));
            edit->setFixedWidth(fieldMaxLength(frameInfo.fields[i] + 1) == 1 ? 32 : 44);
            label->setBuddy(edit);
            row->addWidget(label);
            row->addWidget(edit);
            edits_[std::size_t(frameInfo.fields[i])] = edit;
        }
        row->addStretch();
        grid->addWidget(frame, at / 2, at % 2);
        ++at;
    }
    auto* note = new QLabel(QStringLiteral("単位はmm"), this);
    grid->addWidget(note, 2, 1, Qt::AlignRight);
    // Tab order: the order in which the fields are checked.
    setTabOrder(edits_[Rows], edits_[Columns]);
}

LayoutTexts LayoutFields::texts() const
{
    LayoutTexts t;
    for (int f = 0; f < 8; ++f)
        t[std::size_t(f)] = edits_[std::size_t(f)]->text();
    return t;
}

void LayoutFields::showFormat(const PrintSheetFormat& format)
{
    for (int f = 0; f < 8; ++f)
        edits_[std::size_t(f)]->setText(format[f + 1]);
}

void LayoutFields::clear()
{
    for (QLineEdit* e : edits_)
        e->clear();
}

void LayoutFields::storeInto(PrintSheetFormat& format) const
{
    for (int f = 0; f < 8; ++f)
        format[f + 1] = edits_[std::size_t(f)]->text();
}

bool LayoutFields::validate(SheetLayout& layout, PrintPrompts& prompts, QWidget* messageParent)
{
    const std::optional<LayoutError> error = ValidateSheetLayout(texts(), layout);
    if (!error)
        return false;
    ShowSheetLayoutError(prompts, messageParent, error->code);
    QLineEdit* edit = edits_[std::size_t(error->field)];
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    return true;
}

}  // namespace print
