set(VANDOR_SHELL_SOURCES
  shell/kvxLangSource.cpp
  shell/vdrLog.cpp
  shell/vdrProgramFolder.cpp
)
