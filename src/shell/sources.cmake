set(VANDOR_SHELL_SOURCES
  shell/vdrLog.cpp
  shell/vdrProgramFolder.cpp
)
