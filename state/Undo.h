#pragma once
// One change that can be put back. Whoever makes a change creates the record on the heap and
// hands it to the undo buffer, which owns it and deletes it through this base.
class CUndo {
public:
    CUndo() = default;
    CUndo(const CUndo&) = delete;
    CUndo& operator=(const CUndo&) = delete;
    virtual ~CUndo() = default;

    // Puts back what the record saved.
    virtual void Undo() = 0;
};
