#include "DialogText.h"

#include "CComponent.h"
#include "UiServices.h"

QStringList splitAtBlanks(const QString& text)
{
    return text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

int emptyFieldBeforeFilled(std::span<const QString* const> fields)
{
    int firstEmpty = -1;
    for (int i = 0; i < int(fields.size()); ++i) {
        if (fields[i]->isEmpty()) {
            if (firstEmpty < 0) firstEmpty = i;
        } else if (firstEmpty >= 0) {
            return firstEmpty;
        }
    }
    return -1;
}

QString pulseGapMessage(const QString& label)
{
    return QStringLiteral("The pulse field %1 is empty while a later field is filled; the values after it "
                          "would be read one place early.  Fill in %1 or empty the fields after it.")
        .arg(label);
}

void PulseFields::Read(const QStringList& words, int first) const
{
    for (int i = 0; i < int(fields.size()); ++i)
        *fields[size_t(i)] = words.value(first + i);
}

bool PulseFields::Compose(QStringList& words) const
{
    const int gap = emptyFieldBeforeFilled(fields);
    if (gap >= 0) {
        ui().message(pulseGapMessage(QLatin1String(labels[size_t(gap)])));
        return false;
    }
    for (const QString* f : fields)
        words << *f;
    return true;
}

void DialogNameFields::TakeFrom(const CComponent& part)
{
    DialogName = part.NameBuffer;
    DialogNameVisible = part.NameVisibleCheck;
    DialogValueVisible = part.ValueVisibleCheck;
}

void DialogNameFields::GiveTo(CComponent& part) const
{
    part.NameBuffer = DialogName;
    part.NameVisibleCheck = DialogNameVisible;
    part.ValueVisibleCheck = DialogValueVisible;
}
