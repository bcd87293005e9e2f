// Only here to carry the precompiled headers of Qt that the other targets reuse.
