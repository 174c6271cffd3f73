# Lanes for the tests. ctest runs every test; a label picks a lane:
#   unit     the core program's tests that need nothing outside the process
#   ui       the interface program's tests that need nothing outside the
#            process (windows on the offscreen platform)
#   processes  tests that start a second program on a site and kill it,
#            mount a small file system, kill the program's own tools in the
#            middle of their work, or run the source tree's check scripts or
#            the linker (tests/layers)
#   servers  tests that start WebDAV, FTP, SFTP or HTTP servers on loopback
#   browser  tests that check pages with the validator or open them in
#            headless Chromium
#   screen   tests that put windows on an X server of their own (Xvfb)
#   site     tests of the whole site document (they include
#            document/MyDocument.h, directly or through a support header):
#            a site made from the shipped starter, saved with its snapshot,
#            opened again, built; the program's own tools (zip, unzip,
#            xmldir) run for them
# A test file belongs to the lanes of the helpers it includes (directly or
# through another header of tests/support), and so does every suite it holds;
# a file that includes none of them is in its program's plain lane (unit or
# ui). A new test in a file goes where the file goes, and a new file where
# its includes say, without a list to keep. The test programs stay whole
# (one binary each, every suite in it); only ctest splits them.
#
# The plain lanes and the site lane run in LQ_TEST_SHARDS processes per
# program (ctest's tests "unit.1-of-8", "site.core.1-of-8" and so on), each
# with its share of the lane's tests, since there starting the program costs
# more than most tests; the other lanes run a process per test
# ("Suite.Test"). One more process per program runs
# whatever suite the scan below did not see.
#
# A suite name stands in one lane: a suite found in files of two lanes stops
# the configuration, naming both files.

set(LQ_TEST_SHARDS 8 CACHE STRING "How many processes run each plain lane of a test program")
set(LQ_TEST_PARTS processes servers browser screen site)
set(LQ_TEST_PART_HEADERS_processes SiteHelperProcess SmallFilesystem ChildProcesses SourceTools)
set(LQ_TEST_PART_HEADERS_servers TestServers LocalHttpServer)
set(LQ_TEST_PART_HEADERS_browser HeadlessChromium HtmlValidator)
set(LQ_TEST_PART_HEADERS_screen OnXvfb XvfbProgram)
# The site lane has no helper of its own: a file (or support header) that
# includes the site document is in it.
set(LQ_TEST_PART_HEADERS_site)
set(LQ_TEST_PART_INCLUDES_site "document/MyDocument")

# Whether a text includes one of the part's helpers, or one of the headers
# of the program that bring the part.
function(lq_text_brings_part text part out)
  set(found FALSE)
  if(LQ_TEST_PART_HEADERS_${part})
    list(JOIN LQ_TEST_PART_HEADERS_${part} "|" names)
    if(text MATCHES "#[ \t]*include[ \t]+\"support/(ui/)?(${names})\\.h\"")
      set(found TRUE)
    endif()
  endif()
  if(LQ_TEST_PART_INCLUDES_${part})
    list(JOIN LQ_TEST_PART_INCLUDES_${part} "|" names)
    if(text MATCHES "#[ \t]*include[ \t]+\"(${names})\\.h\"")
      set(found TRUE)
    endif()
  endif()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# A support header that includes a part's helper brings the part with it.
file(GLOB_RECURSE LQ_TEST_SUPPORT_HEADERS CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/support/*.h")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${LQ_TEST_SUPPORT_HEADERS})
foreach(part IN LISTS LQ_TEST_PARTS)
  set(grown TRUE)
  while(grown)
    set(grown FALSE)
    list(JOIN LQ_TEST_PART_HEADERS_${part} "|" names)
    foreach(header IN LISTS LQ_TEST_SUPPORT_HEADERS)
      get_filename_component(name "${header}" NAME_WE)
      if(name IN_LIST LQ_TEST_PART_HEADERS_${part})
        continue()
      endif()
      file(READ "${header}" text)
      lq_text_brings_part("${text}" ${part} brings)
      if(brings)
        list(APPEND LQ_TEST_PART_HEADERS_${part} ${name})
        set(grown TRUE)
      endif()
    endforeach()
  endwhile()
endforeach()

# The parts a test file needs, in the order of LQ_TEST_PARTS.
function(lq_test_file_parts source out)
  file(READ "${source}" text)
  set(parts)
  foreach(part IN LISTS LQ_TEST_PARTS)
    lq_text_brings_part("${text}" ${part} brings)
    if(brings)
      list(APPEND parts ${part})
    endif()
  endforeach()
  set(${out} ${parts} PARENT_SCOPE)
endfunction()

# The suites a test file defines.
function(lq_test_file_suites source out)
  file(READ "${source}" text)
  string(REGEX MATCHALL "(^|[^A-Za-z0-9_])(TEST|TEST_F|TEST_P|TYPED_TEST|TYPED_TEST_P)\\([ \t\r\n]*[A-Za-z0-9_]+" found "${text}")
  set(suites)
  foreach(match IN LISTS found)
    string(REGEX REPLACE ".*\\([ \t\r\n]*" "" suite "${match}")
    list(APPEND suites ${suite})
  endforeach()
  list(REMOVE_DUPLICATES suites)
  set(${out} ${suites} PARENT_SCOPE)
endfunction()

# Registers LQ_TEST_SHARDS tests "<name>.<n>-of-<shards>" under the label,
# each running its share of the program's tests that the filter picks.
function(lq_add_test_shards target name label filter)
  math(EXPR last "${LQ_TEST_SHARDS} - 1")
  foreach(shard RANGE ${last})
    math(EXPR number "${shard} + 1")
    set(test "${name}.${number}-of-${LQ_TEST_SHARDS}")
    add_test(NAME ${test} COMMAND ${target} "--gtest_filter=${filter}")
    set_tests_properties(${test} PROPERTIES LABELS "${label}" ENVIRONMENT
      "QT_QPA_PLATFORM=offscreen;GTEST_TOTAL_SHARDS=${LQ_TEST_SHARDS};GTEST_SHARD_INDEX=${shard}")
  endforeach()
endfunction()

# Registers the tests of the program `target`, built from the given sources,
# with ctest: the suites of each lane under its labels, the rest under
# `plain_lane`.
function(lq_add_test_lanes target plain_lane)
  # "core" or "ui": the program's part of a shard's name in a lane of both.
  string(REGEX REPLACE "^lumenquill_(.*)_tests$" "\\1" program "${target}")
  set(lanes)
  foreach(source IN LISTS ARGN)
    # The lanes follow the includes, so an edit of a test file reconfigures.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${source}")
    lq_test_file_parts("${source}" parts)
    if(parts)
      list(JOIN parts "+" lane)
    else()
      set(lane "${plain_lane}")
    endif()
    lq_test_file_suites("${source}" suites)
    foreach(suite IN LISTS suites)
      if(DEFINED lane_of_${suite} AND NOT lane_of_${suite} STREQUAL lane)
        message(FATAL_ERROR "The test suite ${suite} is in ${file_of_${suite}} (lane ${lane_of_${suite}}) "
          "and in ${source} (lane ${lane}): give one of them another name.")
      endif()
      set(lane_of_${suite} "${lane}")
      set(file_of_${suite} "${source}")
      if(NOT suite IN_LIST suites_of_${lane})
        list(APPEND suites_of_${lane} ${suite})
      endif()
    endforeach()
    if(parts AND NOT lane IN_LIST lanes)
      list(APPEND lanes "${lane}")
    endif()
  endforeach()

  # A suite's tests: plain, parameterised (Prefix/Suite.Test/N) and typed (Suite/N.Test).
  set(known_filter)
  set(label_text "")
  foreach(lane IN LISTS lanes)
    set(patterns)
    foreach(suite IN LISTS suites_of_${lane})
      list(APPEND patterns "${suite}.*" "*/${suite}.*" "${suite}/*")
    endforeach()
    list(APPEND known_filter ${patterns})
    list(JOIN patterns ":" filter)
    if(lane STREQUAL "site")
      lq_add_test_shards(${target} "site.${program}" site "${filter}")
      continue()
    endif()
    string(MAKE_C_IDENTIFIER "lq_tests_${target}_${lane}" list_name)
    gtest_discover_tests(${target}
      TEST_FILTER "${filter}"
      TEST_LIST ${list_name}
      DISCOVERY_MODE PRE_TEST
      # Listing the tests starts the program: on a busy machine that takes
      # longer than the default five seconds.
      DISCOVERY_TIMEOUT 120
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    string(REPLACE "+" ";" labels "${lane}")
    string(APPEND label_text "if(${list_name})\n  set_tests_properties(\${${list_name}} PROPERTIES LABELS \"${labels}\")\nendif()\n")
  endforeach()
  set(label_script "${CMAKE_CURRENT_BINARY_DIR}/${target}_lanes.cmake")
  file(WRITE "${label_script}" "${label_text}")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${label_script}")

  # The plain lane in a few processes, each running its share of the lane's
  # tests (gtest's shards): starting a test program costs more than most of
  # its tests, so a process per suite would spend the lane's time starting
  # programs. One suite alone: the program with --gtest_filter='Suite.*'.
  set(plain_patterns)
  foreach(suite IN LISTS suites_of_${plain_lane})
    list(APPEND plain_patterns "${suite}.*" "*/${suite}.*" "${suite}/*")
  endforeach()
  list(APPEND known_filter ${plain_patterns})
  list(JOIN plain_patterns ":" filter)
  lq_add_test_shards(${target} ${plain_lane} ${plain_lane} "${filter}")
  # What no scan saw.
  list(JOIN known_filter ":" filter)
  add_test(NAME ${target}.UnlistedSuites COMMAND ${target} "--gtest_filter=-${filter}")
  set_tests_properties(${target}.UnlistedSuites PROPERTIES LABELS "${plain_lane}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
