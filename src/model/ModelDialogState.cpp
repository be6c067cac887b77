#include "model/ModelDialogState.h"

#include "model/Workspace.h"

namespace zelvar {

// Placeholder until the dialog logic lands: Load only.
ModelDialogState::ModelDialogState(Workspace &workspace)
    : lstEval(workspace.data.NumDMU), lstTech(workspace.data.NumDMU), m_workspace(workspace)
{
}

} // namespace zelvar
