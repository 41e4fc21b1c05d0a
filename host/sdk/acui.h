// Initialisation of the host's dialog library for a module.
#pragma once

void InitAcUiDLL();
