#include "state/UndoBuffer.h"

void CUndoBuffer::UndoAll(bool continueOnErrors)
{
    for (size_t i = 0; i < GetSize(); ++i) {
        try {
            GetAt(i)->Undo();
        } catch (...) {
            if (!continueOnErrors)
                throw;
        }
    }
}
