#include "View.h"

#include "Document.h"

View::~View()
{
    if (m_Document) m_Document->RemoveView(this);
}
