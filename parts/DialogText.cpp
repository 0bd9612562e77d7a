#include "DialogText.h"

#include "CComponent.h"
#include "Text.h"
#include "UiServices.h"

QStringList splitAtBlanks(const QString& text)
{
    return text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

void readKeyedValues(const QStringList& words, std::span<const char* const> keys,
                     const std::function<void(size_t key, const QString& value)>& take)
{
    for (const QString& word : words) {
        const qsizetype equals = word.indexOf(QLatin1Char('='));
        if (equals < 0) continue;
        const QStringView key = QStringView(word).left(equals);
        for (size_t k = 0; k < keys.size(); ++k)
            if (key.compare(QLatin1String(keys[k]), Qt::CaseInsensitive) == 0) take(k, word.mid(equals + 1));
    }
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

bool PulseTexts::ReadPulseOrWaveform(const QStringList& words, int at, const PulseFields& pulse, int& form)
{
    const QString keyword = text::upperAscii(words.value(at));
    if (keyword == QLatin1String("PULSE")) {
        form = FormPulse;
        pulse.Read(words, at + 1);
        return true;
    }
    if (keyword == QLatin1String("ORLISK")) {
        form = FormWaveform;
        WaveformName = words.value(at + 1);
        return true;
    }
    return false;
}

bool PulseTexts::ComposePulseOrWaveform(QStringList& words, const PulseFields& pulse, int form) const
{
    if (form == FormWaveform) {
        words << QStringLiteral("ORLISK") << WaveformName;
        return true;
    }
    QStringList pulseWords{QStringLiteral("PULSE")};
    if (!pulse.Compose(pulseWords)) return false;
    words << pulseWords;
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
