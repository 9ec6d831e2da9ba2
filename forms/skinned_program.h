#pragma once
// What a skinned program sets up once, before it reads its first window
// definition: the classes of the skin manager, the skin provider (and
// TsMDIForm) and the skinned controls, the menu skinning, GDI painting and the
// desktop's system colours. Calling it again changes nothing.

namespace korvel {

void PrepareSkinnedProgram();

}  // namespace korvel
