#include "CComponent.h"

#include "Archive.h"
#include "ComponentTypeId.h"
#include "PropertyDialogs.h"
#include "UiServices.h"

#include <algorithm>
#include <iterator>

const ClassInfo CComponent::Class = {"CComponent", 3, true, nullptr, &CreatePersistent<CComponent>};

CComponent::CComponent() : m_DialogTemplate(kDialogTemplate) {}

CComponent::CComponent(int dialogTemplate) : m_DialogTemplate(dialogTemplate) {}

CComponent::CComponent(int dialogTemplate, quint32 typeId) : m_DialogTemplate(dialogTemplate)
{
    Init(typeId);
    Text = PrefixLetter(typeId);
}

CComponent::CComponent(const CComponent& source, int dialogTemplate)
    : Position(source.Position), Extent(source.Extent), State(source.State), TypeId(source.TypeId),
      Orientation(source.Orientation), Text(source.Text), Visible(source.Visible),
      m_DialogTemplate(dialogTemplate)
{
}

CComponent::~CComponent() = default;

void CComponent::Serialize(Archive& ar)
{
    if (ar.IsStoring()) {
        ar.WritePoint(Position);
        ar.WriteRect(Extent);
        ar.WriteUInt(TypeId);
        ar.WriteInt(Orientation);
        ar.WriteString(Text);
        ar.WriteByte(Visible == 1 ? 1 : 0);
        return;
    }
    Position = ar.ReadPoint();
    Extent = ar.ReadRect();
    TypeId = ar.ReadUInt();
    Orientation = ar.ReadInt();
    Text = ar.ReadString();
    Visible = ar.ReadByte() == 1 ? 1 : 0;
    State = 1;
    Selected = 0;
}

void CComponent::Init(quint32 typeId)
{
    TypeId = typeId;
    Position = QPoint(0, 0);
    Extent = Rect{0, 0, 576, -144};
    State = 0;
    Selected = 0;
    Orientation = 1;
    Visible = 1;
}

QString CComponent::MakeName(int number) const
{
    return (Text.isEmpty() ? QString() : QString(Text.at(0))) + QString::number(number);
}

bool CComponent::DoModal()
{
    PropertyDialogs* dialogs = propertyDialogs();
    return dialogs && dialogs->Run(*this);
}

QString CComponent::PrefixLetter(quint32 typeId)
{
    const ComponentType* type = FindComponentType(typeId);
    return type && type->counterLetter ? QString(QChar(type->counterLetter)) : QString();
}

QString CComponent::TakeNextName(ComponentHost& doc)
{
    if (Text.isEmpty()) return {};
    const std::optional<int> number = doc.NextDesignatorNumber(Text.at(0));
    if (!number) return {};
    Text = MakeName(*number);
    return Text;
}

ComponentList::iterator CComponent::Find(ComponentList& list, const CComponent* object)
{
    for (auto it = list.end(); it != list.begin();) {
        --it;
        if (it->get() == object) return it;
    }
    return list.end();
}

std::vector<CComponent*> CComponent::Attachments(ComponentList& list, ComponentList::iterator self,
                                                 std::span<const quint32> types)
{
    std::vector<CComponent*> out;
    if (self == list.end()) return out;
    auto it = std::next(self);
    for (quint32 type : types) {
        if (it == list.end() || (*it)->TypeId != type) return {};
        out.push_back(it->get());
        ++it;
    }
    return out;
}

std::vector<CComponent*> CComponent::FollowingObjects(ComponentHost& doc, int count, quint32 typeId) const
{
    ComponentList& list = doc.Components();
    return Attachments(list, Find(list, this), std::vector<quint32>(size_t(std::max(count, 0)), typeId));
}

bool CComponent::EditCommonProperties(ComponentHost& doc, bool withIcLabel)
{
    // A list whose groups are broken (a file that failed its check and was kept) must not send the
    // edit into a pin or past the end of the list.
    const std::vector<CComponent*> labels = FollowingObjects(doc, withIcLabel ? 3 : 2, TypeLabel);
    if (labels.empty()) return false;
    CComponent& name = *labels[0];
    CComponent& value = *labels[1];
    CComponent* ic = withIcLabel ? labels[2] : nullptr;

    NameBuffer = name.Text;
    ValueBuffer = value.Text;
    ICBuffer = ic ? ic->Text : QString();
    NameVisibleCheck = name.Visible;
    ValueVisibleCheck = value.Visible;
    ICVisibleCheck = ic ? ic->Visible : 0;
    if (!DoModal()) return false;

    bool changed = ApplyName(name, NameBuffer);
    changed |= ApplyText(value, ValueBuffer);
    changed |= ApplyVisible(name, NameVisibleCheck);
    changed |= ApplyVisible(value, ValueVisibleCheck);
    if (ic) {
        changed |= ApplyText(*ic, ICBuffer);
        changed |= ApplyVisible(*ic, ICVisibleCheck);
    }
    return changed;
}

bool CComponent::ApplyName(CComponent& label, const QString& typed)
{
    if (typed == label.Text) return false;
    const auto first = [](const QString& s) { return s.isEmpty() ? char16_t(0) : s.at(0).unicode(); };
    if (first(typed) != first(label.Text)) {
        ui().message(FirstLetterNotice());
        return false;
    }
    label.Text = typed;
    return true;
}

bool CComponent::ApplyText(CComponent& label, const QString& typed)
{
    if (typed == label.Text) return false;
    label.Text = typed;
    return true;
}

bool CComponent::ApplyVisible(CComponent& label, int check)
{
    const quint8 visible = check ? 1 : 0;
    if (visible == label.Visible) return false;
    label.Visible = visible;
    return true;
}
