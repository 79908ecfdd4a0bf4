// Making Module creatable as the player creates it: the hosting program (the
// command line, a test) registers "D72506.Module" in the calling thread's
// class registry, and the player then creates it by that ProgID.
#pragma once

namespace d72506 {

// Registers "D72506.Module" under its CLSID; each creation is a new Module.
void register_module();

}  // namespace d72506
