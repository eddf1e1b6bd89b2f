/* The product's version: the one place it is written. The build reads it
   (the package's name), the resource script includes it (the version
   resource) and the About window shows it. Only #defines: the resource
   compiler reads this file too. */
#ifndef TIDEMERE_CORE_BASE_VERSION_H
#define TIDEMERE_CORE_BASE_VERSION_H

#define TIDEMERE_VERSION_MAJOR 1
#define TIDEMERE_VERSION_MINOR 0
#define TIDEMERE_VERSION_PATCH 0
#define TIDEMERE_VERSION_TEXT "1.0.0"
/* As the About window and the settings window's footer show it. */
#define TIDEMERE_VERSION_SHORT L"1.0"

#endif
