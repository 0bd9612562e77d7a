#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <span>

class CComponent;

// Text rules that the property dialogs share when they read a value text into their fields and
// compose it again.

// The blank-separated words of a value text; runs of blanks count as one separator. Only blanks
// separate, as in the netlist.
QStringList splitAtBlanks(const QString& text);

// The words "KEY=value" whose key is one of `keys`, in any case (the netlist is upper-cased before it
// is read): `take` gets the key's index and the value. Other words are passed over.
void readKeyedValues(const QStringList& words, std::span<const char* const> keys,
                     const std::function<void(size_t key, const QString& value)>& take);

// A pulse's fields are read by position, and the netlist reader takes a run of blanks as one
// separator: an empty field with a filled one after it would shift every later value one place.
// The index of the first such empty field; -1 when the empty fields (if any) all come last.
int emptyFieldBeforeFilled(std::span<const QString* const> fields);

// The message that refuses a pulse whose field `label` is empty while a later one is filled.
QString pulseGapMessage(const QString& label);

// The seven fields of a pulse (low and high value, delay, rise, fall, width, period) as a dialog
// holds them, in the netlist's order, with the labels the dialog shows them under.
struct PulseFields {
    std::array<QString*, 7> fields;
    std::array<const char*, 7> labels;

    // Fills the fields from `words`, starting at word `first`; a missing word empties its field.
    void Read(const QStringList& words, int first) const;
    // Appends the fields to `words`, empty ones included. Refuses (false, after the gap message) a
    // pulse with an empty field before a filled one, and then appends nothing.
    bool Compose(QStringList& words) const;
};

// The timing of a pulse and the name of an archive waveform as the dialogs of the sources and of the
// variable resistor hold them, with the texts a new dialog shows.
struct PulseTexts {
    // What a value text names after its keyword: a pulse or an archive waveform.
    enum Form { FormPulse = 1, FormWaveform = 2 };

    QString TDText = QStringLiteral("10n");
    QString TRText = QStringLiteral("1n");
    QString TFText = QStringLiteral("1n");
    QString PWText = QStringLiteral("10n");
    QString PERText = QStringLiteral("100n");
    QString WaveformName = QStringLiteral("Waveform");

    // The seven fields of the pulse that starts at `low` and rises to `high`, shown under these labels.
    PulseFields PulseFrom(QString& low, QString& high, const char* lowLabel, const char* highLabel)
    {
        return {{&low, &high, &TDText, &TRText, &TFText, &PWText, &PERText},
                {lowLabel, highLabel, "TD", "TR", "TF", "PW", "PER"}};
    }
    // Reads from word `at` on: "PULSE" (in any case) and the pulse's fields, or "ORLISK" and the
    // waveform's name; `form` says which. False, with nothing read, for any other word.
    bool ReadPulseOrWaveform(const QStringList& words, int at, const PulseFields& pulse, int& form);
    // Appends "ORLISK" and the waveform's name for FormWaveform, otherwise "PULSE" and the pulse's
    // fields; false (after the gap message) for a pulse that PulseFields::Compose refuses.
    bool ComposePulseOrWaveform(QStringList& words, const PulseFields& pulse, int form) const;
};

// The name and the two "Visible" flags in the fields of a dialog that composes its value text. The
// dialog opens with them taken from the part's shared buffers and gives them back on OK.
struct DialogNameFields {
    QString DialogName;
    int DialogNameVisible = 0;
    int DialogValueVisible = 0;

    void TakeFrom(const CComponent& part);
    void GiveTo(CComponent& part) const;
};
