// The program's version, read by the code and by the VERSIONINFO resource.
#pragma once

#define SCENEWRIGHT_VERSION_MAJOR 1
#define SCENEWRIGHT_VERSION_MINOR 0
#define SCENEWRIGHT_VERSION_PATCH 0
#define SCENEWRIGHT_VERSION_RC 1, 0, 0, 0
#define SCENEWRIGHT_VERSION_TEXT "1.0.0"
#define SCENEWRIGHT_HOME_PAGE "https://scenewright.example.org/"
