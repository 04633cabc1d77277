# The sample programs and their real installers for the end-to-end tests,
# part of the Windows build: the programs go to out/win32/samples/programs,
# the installers (NSIS scripts compiled by makensis, a Windows Installer
# package built by wixl) to out/win32/samples.
set(SAMPLES_DIR ${CMAKE_SOURCE_DIR}/tests/samples)
set(SAMPLES_OUT ${CMAKE_SOURCE_DIR}/out/win32/samples)
set(SAMPLE_PROGRAMS_OUT ${SAMPLES_OUT}/programs)

function(orvix_sample_program target output_name rc_file)
  add_executable(${target} ${SAMPLES_DIR}/programs/sample_program.cpp ${SAMPLES_DIR}/programs/${rc_file})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${output_name} RUNTIME_OUTPUT_DIRECTORY ${SAMPLE_PROGRAMS_OUT})
  target_include_directories(${target} PRIVATE ${SAMPLES_DIR}/programs)  # windres finds the icon there
  target_link_options(${target} PRIVATE -municode -mwindows -s)
endfunction()

orvix_sample_program(orvix_sample_notes OrvixNotes notes.rc)
orvix_sample_program(orvix_sample_clock OrvixClock clock.rc)
orvix_sample_program(orvix_sample_sketch OrvixSketch sketch.rc)
orvix_sample_program(orvix_sample_viewer OrvixViewer viewer.rc)
orvix_sample_program(orvix_sample_journal OrvixJournal journal.rc)
orvix_sample_program(orvix_sample_mixer OrvixMixer mixer.rc)

# The COM server exports its four entry points under their plain names.
add_library(orvix_sample_notes_shell SHARED ${SAMPLES_DIR}/programs/notes_shell.cpp
                                            ${SAMPLES_DIR}/programs/notes_shell.rc)
set_target_properties(orvix_sample_notes_shell PROPERTIES
  PREFIX "" OUTPUT_NAME OrvixNotesShell RUNTIME_OUTPUT_DIRECTORY ${SAMPLE_PROGRAMS_OUT})
target_include_directories(orvix_sample_notes_shell PRIVATE ${SAMPLES_DIR}/programs)
target_link_options(orvix_sample_notes_shell PRIVATE -static -s -Wl,--kill-at)
target_link_libraries(orvix_sample_notes_shell PRIVATE advapi32 uuid)

find_program(ORVIX_MAKENSIS makensis)
find_program(ORVIX_WIXL wixl)
if(NOT ORVIX_MAKENSIS OR NOT ORVIX_WIXL)
  message(WARNING "makensis or wixl not found (scripts/setup installs them): the sample installers are not built")
  return()
endif()

set(sample_installers)

# An NSIS installer from installers/SCRIPT, packing the given program targets.
function(orvix_nsis_installer output script)
  add_custom_command(OUTPUT ${SAMPLES_OUT}/${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SAMPLES_OUT}
    COMMAND ${ORVIX_MAKENSIS} -V2 -WX -DSAMPLE_BIN=${SAMPLE_PROGRAMS_OUT} -DOUT_DIR=${SAMPLES_OUT}
            ${SAMPLES_DIR}/installers/${script}
    DEPENDS ${SAMPLES_DIR}/installers/${script} ${SAMPLES_DIR}/installers/orvix_samples.nsh ${ARGN}
    VERBATIM)
  set(sample_installers ${sample_installers} ${SAMPLES_OUT}/${output} PARENT_SCOPE)
endfunction()

orvix_nsis_installer(OrvixSampleNotesSetup.exe notes.nsi orvix_sample_notes orvix_sample_notes_shell)
orvix_nsis_installer(OrvixSampleClockSetup.exe clock.nsi orvix_sample_clock)
orvix_nsis_installer(OrvixSampleSketchSetup.exe sketch.nsi orvix_sample_sketch)
orvix_nsis_installer(OrvixSampleJournalSetup.exe journal.nsi orvix_sample_journal)
orvix_nsis_installer(OrvixSampleMixerSetup.exe mixer.nsi orvix_sample_mixer)

# wixl looks for the packed files relative to its working folder.
add_custom_command(OUTPUT ${SAMPLES_OUT}/OrvixSampleViewer.msi
  COMMAND ${ORVIX_WIXL} -a x86 -D SampleBin=. -o ${SAMPLES_OUT}/OrvixSampleViewer.msi
          ${SAMPLES_DIR}/installers/viewer.wxs
  WORKING_DIRECTORY ${SAMPLE_PROGRAMS_OUT}
  DEPENDS ${SAMPLES_DIR}/installers/viewer.wxs orvix_sample_viewer
  VERBATIM)
list(APPEND sample_installers ${SAMPLES_OUT}/OrvixSampleViewer.msi)

add_custom_target(orvix_samples ALL DEPENDS ${sample_installers})
