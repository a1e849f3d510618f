#include "res/Resources.h"

namespace klt::res {

ResourceTables ProgramResources() {
    return {&FindDialog,  &FindString,     &FindMenu,        &FindAccelerators,
            &FindToolbar, &IconForCommand, &IconForResource, &AllDialogs};
}

} // namespace klt::res
