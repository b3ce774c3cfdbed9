# Writes the input files of the brindle-check runs into FIXTURES (a fresh folder).
# Written here rather than committed so that CR LF and tab bytes stay exact whatever
# a checkout does to line ends.
file(REMOVE_RECURSE ${FIXTURES})

function(put name text)
  file(WRITE ${FIXTURES}/${name} "${text}")
endfunction()

put(clean.tra "// two entries\n@1 = ~Hello~ [HI1]\n@2 = ~Bye~\n")
put(clean.dlg "{1}{Hello}{}\n{2}{Bye}{}\n")
# The same fault at line 2, column 6, with LF and with CR LF line ends.
put(lf.tra "@1 = ~a~\n@2 = \"b\"\n")
put(crlf.tra "@1 = ~a~\r\n@2 = \"b\"\r\n")
# A fault at the end of the text, after its last byte, in a file without a final line end.
put(end.dlg "{1}{a}\r\n{2}{bc")
# A field cut by a CR LF: the conflict is the line end itself.
put(field-crlf.dlg "{1}{a\r\n}\r\n")
# Tabs before the fault keep the caret under it.
put(tabs.tra "@1 = ~a~\n\t\t@2 =\t~b~ [S 2]\n")
put(notes.txt "@1 = ~a~ x\n")
# The fault whose reason every shipped language words: an equals sign expected, a tilde found.
put(equal.tra "@1 ~a~\n")

# Three faults on three lines, then a text left open at the end of the file.
put(many.tra "@1 = \"a\"\n@2 ~b~\n@3 = ~c~ [S 3]\n@4 = ~ok~\n@5 = ~open\n")

# Project files: one that leaves out a rule and limits what is shown, for a file in a
# folder below it; another named with --config; a bad one.
put(project/brindle.toml "[check]\nmax-faults = 2\n[rules]\nignore = [\"tra.expected_tilde\"]\n")
put(project/sub/many.tra "@1 = \"a\"\n@2 ~b~\n@3 = ~c~ [S 3]\n@4 = ~ok~\n@5 = ~open\n")
put(other.toml "[rules]\nselect = [\"tra.sound_spaces\"]\n")
put(bad/brindle.toml "[rules]\nignore = [\"tra.expected_tilde\",\n          \"tra.no_such_rule\"]\n")
put(bad/a.tra "@1 = ~a~\n")

# The compiler's grammar: texts in double quotes and percent signs, negative numbers, empty
# sounds; a folder whose project file names that grammar.
put(weidu-forms.tra "@-1 = \"Sword +1\" []\n@2 = %Shield%\n@3 = ~<<ok>>~ ^ ~more~\n")
put(weidu/brindle.toml "[tra]\ngrammar = \"weidu\"\n")
put(weidu/forms.tra "@-1 = \"Sword +1\" []\n@2 = %Shield%\n")
put(weidu/broken.tra "@1 = ~a~\n@2 = ~unclosed\n")

put(tree/b/UPPER.TRA "@1 = ~a~\n")
put(tree/b/c/deep.Dlg "{1}{\n")
put(tree/a.tra "@1 = ~a\n")
put(tree/a.dlg "{1}{a}\n")
put(tree/readme.txt "not checked\n")
put(tree/z.tra "@1 = ~z~\n")

put(languages/Pirate.ini "tra\n{\n  expected_tilde=Arr, a tilde be missin'\n  found_quote=an' a quote be there\n  unexpected_end=The end, matey.\n}\narcanum_dlg\n{\n  unexpected_end=The end, matey.\n}\n")
put(languages/Empty.ini "general\n{\n  initialized=ready\n}\n")

# A link to a file that does not exist, found by searching the directory.
put(broken-tree/good.tra "@1 = ~a~\n")
file(CREATE_LINK ${FIXTURES}/no-such-file.tra ${FIXTURES}/broken-tree/lost.tra SYMBOLIC)
