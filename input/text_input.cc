// "PPB_TextInput(Dev);0.1" and ";0.2": text-input state, which the controlling process
// has no message for.
#include "input/text_input.h"

#include "resources/not_implemented.h"

using Iface = PPB_TextInput_Dev_0_1;
using Iface02 = PPB_TextInput_Dev_0_2;

const PPB_TextInput_Dev_0_1 ppbTextInput = {
    /* ZEMA_SetTextInputType */ NotImplemented<decltype(Iface::SetTextInputType)>::entry,
    /* ZEMA_UpdateCaretPosition */ NotImplemented<decltype(Iface::UpdateCaretPosition)>::entry,
    /* ZEMA_CancelCompositionText */ NotImplemented<decltype(Iface::CancelCompositionText)>::entry,
};

const PPB_TextInput_Dev_0_2 ppbTextInput_0_2 = {
    /* ZEMA_SetTextInputType */ NotImplemented<decltype(Iface02::SetTextInputType)>::entry,
    /* ZEMA_UpdateCaretPosition */ NotImplemented<decltype(Iface02::UpdateCaretPosition)>::entry,
    /* ZEMA_CancelCompositionText */
    NotImplemented<decltype(Iface02::CancelCompositionText)>::entry,
    /* ZEMA_UpdateSurroundingText */
    NotImplemented<decltype(Iface02::UpdateSurroundingText)>::entry,
    /* ZEMA_SelectionChanged */ NotImplemented<decltype(Iface02::SelectionChanged)>::entry,
};
