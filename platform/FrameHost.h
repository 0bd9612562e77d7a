#pragma once

class Document;
class DocTemplate;

// The window side of the document framework: the main frame creates the child frame and view of a
// document, shows them and takes them down. Without a host (tests, drivers) documents have no views.
class FrameHost {
public:
    virtual ~FrameHost() = default;

    // A new child frame with a new view of the document (the template makes the view); false when
    // it cannot be made.
    virtual bool CreateFrame(DocTemplate& docTemplate, Document& document) = 0;
    // The document is ready: initial updates of its new views, then show and activate the frame.
    virtual void InitialUpdateFrame(Document& document, bool makeVisible) = 0;
    // Brings the first frame of the document to the front.
    virtual void ActivateFrame(Document& document) = 0;
    // Closes every frame of the document at once, without questions; its views leave it now.
    virtual void DestroyFrames(Document& document) = 0;
};

// The process-wide host (not owned); nullptr when there is none.
FrameHost* frameHost();
void setFrameHost(FrameHost* host);
