// Keeps a static library valid while its folder holds no sources yet.
