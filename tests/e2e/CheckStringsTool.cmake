# SPDX-License-Identifier: MIT
# Runs "printer-settings-tool strings" as a user would and checks what it prints.
# Arguments: -DTOOL=<printer-settings-tool> -DWORK_DIR=<scratch folder used as TMPDIR>.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

# Runs the tool with the given environment settings and arguments (separated by ENV/ARGS).
function(run_strings out_var rc_var)
    cmake_parse_arguments(RUN "" "" "ENV;ARGS" ${ARGN})
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env --unset=LC_ALL --unset=LC_MESSAGES --unset=LANG
                --unset=XDG_RUNTIME_DIR TMPDIR=${WORK_DIR} ${RUN_ENV} ${TOOL} strings ${RUN_ARGS}
        OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
    set(${out_var} "${out}" PARENT_SCOPE)
    set(${rc_var} "${rc}" PARENT_SCOPE)
endfunction()

function(expect_member json key expected)
    string(JSON value ERROR_VARIABLE error GET "${json}" "${key}")
    if(error OR NOT value STREQUAL expected)
        message(FATAL_ERROR "${key}: expected '${expected}', got '${value}' ${error}")
    endif()
endfunction()

# Japanese: the language, the order of the keys, translated rows and the built-in texts.
run_strings(json rc ARGS --lang JP)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "strings --lang JP failed (${rc}): ${json}")
endif()
string(JSON count LENGTH "${json}")
if(NOT count EQUAL 145)
    message(FATAL_ERROR "expected the language and 144 texts, got ${count} members")
endif()
# The members come in the order of the record: the language first, the texts in field order.
set(previous -1)
foreach(key Language CurrentValue OutOfIndex HintTitle CanSelectMultiItem QP7Step1 MainCaption
            PortNotSupport FirewareVersion)
    string(FIND "${json}" "\"${key}\":" position)
    if(position LESS_EQUAL previous)
        message(FATAL_ERROR "'${key}' is missing or out of order")
    endif()
    set(previous ${position})
endforeach()
expect_member("${json}" Language "JP")
expect_member("${json}" HintTitle "情報")
expect_member("${json}" QP7Step1 "")
expect_member("${json}" Group64_Name2 "Length of the card:")
expect_member("${json}" btnInkCancel "Cancel")
expect_member("${json}" FirewareVersion "Fireware Version: ")
expect_member("${json}" CanSelectMultiItem
              "Can select or cancel several values, use a mouse to click an item.")
expect_member("${json}" SetPrinterSuccess
              "設定が完了しました。\r\n（一部の項目は、プリンターの再起動後に有効になります！）")

# A language identifier, and the system language when no option is given.
run_strings(json rc ARGS --langid 0x1404)
expect_member("${json}" Language "CHT")
expect_member("${json}" ErrorTitle "錯誤")
if(NOT CMAKE_HOST_WIN32)
    run_strings(json rc ENV LANG=zh_CN.UTF-8)
    expect_member("${json}" Language "CN")
    expect_member("${json}" HintTitle "提示")
    run_strings(json rc ENV LANG=zh_CN.UTF-8 LC_ALL=de_DE.UTF-8)
    expect_member("${json}" Language "EN")
    expect_member("${json}" HintTitle "Information")
endif()

# Bad use is a usage error (exit code 1).
foreach(bad "--lang;JP;extra" "--lang;KR" "--langid;0x10000" "--lang")
    run_strings(out rc ARGS ${bad})
    if(NOT rc EQUAL 1)
        message(FATAL_ERROR "strings ${bad}: expected exit code 1, got ${rc}")
    endif()
endforeach()

# The temporary copy of the table is gone after every run. It was made in the user's private
# folder inside TMPDIR, and nothing was made beside that folder.
file(GLOB private LIST_DIRECTORIES true "${WORK_DIR}/printer-settings-*")
list(LENGTH private folders)
if(NOT folders EQUAL 1)
    message(FATAL_ERROR "expected one private folder in the temporary folder, got: ${private}")
endif()
file(GLOB left LIST_DIRECTORIES true "${WORK_DIR}/*" "${private}/*")
list(REMOVE_ITEM left ${private})
if(left)
    message(FATAL_ERROR "files left in the temporary folder: ${left}")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
