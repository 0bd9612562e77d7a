#pragma once

#include "ClassRegistry.h"
#include "ComponentHost.h"
#include "Rect.h"

#include <QPoint>
#include <QString>

#include <initializer_list>
#include <span>
#include <vector>

class Archive;
class Dc;
struct AttachmentLayout;

// Every object on a schematic page: parts, labels, pins, wires, grounds, probes, bubbles, text.
// It carries the fields every object has, the one record the schematic file stores for every
// object, and the operations through which the document, the view and the netlist writer treat all
// objects alike. Its property dialog is a separate window (see PropertyDialogs) that works on the
// object's dialog buffers.
class CComponent : public Persistent {
public:
    static const ClassInfo Class;
    static constexpr int kDialogTemplate = 329; // "Edit Component Properties"

    CComponent();
    explicit CComponent(int dialogTemplate);
    // Copies the stored fields and the placing state; the copy is not selected and its dialog
    // buffers start empty.
    CComponent(const CComponent& source, int dialogTemplate);
    CComponent(const CComponent&) = delete;
    CComponent& operator=(const CComponent&) = delete;
    ~CComponent() override;

    const ClassInfo& RuntimeClass() const override { return Class; }
    // The object record. Every class stores exactly this record; what a part holds beyond it lives
    // in its label attachments.
    void Serialize(Archive& ar) final;

    int DialogTemplate() const { return m_DialogTemplate; }

    // ---- the contract ----
    // Called before the property dialog opens, and when it is accepted; a class whose dialog
    // composes a text from its fields does it here. OnOK returning false keeps the dialog open.
    virtual void OnInitDialog() {}
    virtual bool OnOK() { return true; }
    // A new object of a type, before it is placed.
    virtual void Init(quint32 typeId);
    virtual void Draw(Dc& dc) {}
    // The number of attachment objects that follow this one in the document's list.
    virtual int GetAttachmentCount() const { return 0; }
    // What follows the object in the document's list, in order, and where it goes; null for an object
    // that takes no attachments.
    virtual const AttachmentLayout* AttachmentOrder() const { return nullptr; }
    // The designator letter followed by the number: MakeName(10) of "C3" is "C10".
    virtual QString MakeName(int number) const;
    virtual QString GetDefaultValue() const { return {}; }
    // Appends the object's attachments to the list (the object is its tail) and names the object.
    virtual void CreateAttachments(ComponentHost& doc, int x, int y) {}
    // Moves the attachments that follow `self` to their places for Position and Orientation.
    virtual void PlaceAttachments(ComponentHost& doc, ComponentList::iterator self) {}
    // Runs the property dialog and writes the results into the attachments; true when anything
    // changed.
    virtual bool EditProperties(ComponentHost& doc) { return false; }

    // ---- stored fields ----
    QPoint Position;     // anchor point in page twips
    Rect Extent;         // outline in page twips; a wire's two ends
    quint8 State = 0;    // 0 while being placed, 1 once placed or loaded
    quint8 Selected = 0; // not stored
    quint32 TypeId = 0;  // ComponentTypeId
    qint32 Orientation = 0;
    QString Text; // designator, label text or pin name
    quint8 Visible = 0;

    // ---- dialog buffers (not stored) ----
    QString NameBuffer;
    QString ValueBuffer;
    QString ICBuffer;
    int NameVisibleCheck = 0;
    int ValueVisibleCheck = 0;
    int ICVisibleCheck = 0;

    static QString FirstLetterNotice()
    {
        return QStringLiteral("Notice:  First letter in device name specifies type and cannot be changed");
    }

    // The prefix letter of a new object of the type (its designator counter's letter); empty for a type
    // whose objects are not named.
    static QString PrefixLetter(quint32 typeId);
    // Names a new object from the document's counter of its prefix letter (the first character of
    // Text): Text becomes the name, which is returned. Empty, with Text kept, when the letter has no
    // counter.
    QString TakeNextName(ComponentHost& doc);

    // ---- walking the document's list ----
    // Where the object stands in the list (searched from the tail, where new objects are); the list's
    // end when it is not there.
    static ComponentList::iterator Find(ComponentList& list, const CComponent* object);
    // The objects that follow `self` in the list, when they are there with exactly these types in
    // this order; otherwise empty (a list whose groups are broken must not move the wrong objects).
    static std::vector<CComponent*> Attachments(ComponentList& list, ComponentList::iterator self,
                                                std::span<const quint32> types);
    static std::vector<CComponent*> Attachments(ComponentList& list, ComponentList::iterator self,
                                                std::initializer_list<quint32> types)
    {
        return Attachments(list, self, std::span<const quint32>(types.begin(), types.size()));
    }

protected:
    // A new object of a type, with its prefix letter as its text.
    CComponent(int dialogTemplate, quint32 typeId);

    // Runs this object's dialog; false when it was cancelled or no dialogs are installed.
    bool DoModal();
    // The `count` objects that follow this one in the document's list, when all of them are there
    // and of type `typeId`; otherwise empty.
    std::vector<CComponent*> FollowingObjects(ComponentHost& doc, int count, quint32 typeId) const;
    // The property editing that parts share: the name, value and (with `withIcLabel`) IC labels after
    // the part fill the buffers, the dialog runs, and the changes go back into the labels.
    bool EditCommonProperties(ComponentHost& doc, bool withIcLabel);
    // Writing a dialog's result into a label; each returns true when the label changed. A new name
    // must keep the first letter of the old one, which is the part's netlist letter and the key of
    // its designator counter; otherwise the notice is shown and the old name stays.
    static bool ApplyName(CComponent& label, const QString& typed);
    static bool ApplyText(CComponent& label, const QString& typed);
    static bool ApplyVisible(CComponent& label, int check);

private:
    int m_DialogTemplate;
};
