// "PPB_TextInput(Dev);0.1": text-input state.
#include "input/text_input.h"

#include "resources/not_implemented.h"

using Iface = PPB_TextInput_Dev_0_1;

const PPB_TextInput_Dev_0_1 ppbTextInput = {
    /* ZEMA_SetTextInputType */ NotImplemented<decltype(Iface::SetTextInputType)>::entry,
    /* ZEMA_UpdateCaretPosition */ NotImplemented<decltype(Iface::UpdateCaretPosition)>::entry,
    /* ZEMA_CancelCompositionText */ NotImplemented<decltype(Iface::CancelCompositionText)>::entry,
};
