#pragma once
// The undo records of the last mode switch, in the order they were recorded. The buffer owns
// them: RemoveAll and destruction delete them.
#include "state/ColArray.h"
#include "state/Undo.h"

class CUndoBuffer : public CTypedColArray<CUndo> {
public:
    CUndoBuffer() : CTypedColArray<CUndo>(true) {}

    // Undoes every record, the first recorded first. A record whose Undo fails with any kind
    // of failure is skipped when continueOnErrors is set; otherwise the failure ends the
    // walk and reaches the caller. The records stay in the buffer either way.
    void UndoAll(bool continueOnErrors);
};
