# The lexical rules of the Interleaf ASCII reader: 26 modes, compiled at
# build time by tools/lexgen into the LexTable resource that SSLex runs.
#
# Notation
#   let NAME = PATTERN           names a pattern for later lines
#   group NAME ... end           rules that several modes share; "use NAME"
#                                puts them at that place of a mode
#   mode N TITLE [empty TOKEN] ... end
#                                one mode, its rules in priority order. The
#                                longest match wins; on equal length the rule
#                                written first. Where no rule matches even one
#                                character the mode returns its empty TOKEN
#                                with no text (modes without one report an
#                                invalid token).
#   PATTERN => TOKEN|skip [push N | pop | switch N]
#                                a rule: the token returned (skip: none) and
#                                what the match does to the mode stack
#   automaton ... end            a hand-written automaton, one state a line,
#                                the start state first:
#                                STATE [=> ACTION] : CLASS -> STATE ...
#                                a character with no edge ends the match
# Patterns
#   'text'      literal, case-sensitive; escapes \\ \' \t \n \xHH
#   [set]       one character of the set: characters, ranges a-z, escapes
#               as above and \] \- \^
#   [^set]      one character not in the set; double-byte characters (code
#               lead + 256 * trail) are never in a set, so they are in every
#               complemented one
#   ANY         any one character
#   NAME        a pattern named by let
#   ( ) | * + ? grouping, alternatives, repetition

let W   = [\t\n ]                       # whitespace
let K   = [+\-0-9A-Z_a-z]               # word character
let L   = [+\-A-Z_a-z]                  # word character, not a digit
let D   = [0-9]
let DQ  = '"'
let AP  = '\''
let AT  = '@'
let BS  = '\\'
let ESC = '\x1B'

# Every character of a word, at least one of them not a digit.
let WORD_TEXT = K* L K*
# One character that begins nothing else in a tag.
let TAG_OTHER = [^\t\n +\-0-9A-Z_a-z"'>]

# A JIS run: ESC $B, anything but ESC, ESC (B; always taken whole.
let JIS = ESC '$B' [^\x1B]* ESC '(B'
# Quoted text: a doubled quote belongs to it, as does a quote inside JIS.
let QUOTED_TEXT = ([^"\x1B] | DQ DQ | JIS)+
let QUOTED = DQ ([^"\x1B] | DQ DQ | JIS)* DQ

# Diagram data: E1 begins an item, E2 continues it (whitespace allowed).
let ESCAPED = BS [ ()<>,X\\x]
let E1 = [^\t\n ()<>,\\] | ESCAPED
let E2 = [^()<>,\\] | ESCAPED
let DATA = W* E1 E2*

# Text of the document body and of micro-documents.
group body-text
  [^\t\n\x1B<>]+              => TEXT
  JIS                         => TEXT
  # Note [lone ESC]: an ESC that begins no whole JIS run is one character of
  # text. Were it an empty match, the same empty TEXT would come back at the
  # same place for ever, since TEXT may follow TEXT.
  ESC                         => TEXT
  [\t\n]+                     => JUNK
  '>'                         => GREATER_THAN
  '<<'                        => LESS_THAN
  '<'                         => TAG_START push 5
  '<' DQ                      => COMPONENT_START push 8
end

# The objects a diagram holds; skipped objects are read in modes 13 and 16.
group object-starts
  '(C' D+                     => OUTLINE_OBJECT_START push 20
  '(' [ESXaeovz] D+           => GRAPHIC_OBJECT_START push 20
  '(m' D+                     => EQUATION_START push 20
  '(O' D+                     => OLD_STYLE_OUTLINE_OBJECT_START push 17
  '(t' D+                     => TEXT_STRING_START push 19
  '(N' D+                     => NAMED_OBJECT_START push 15
  '(g' D+                     => GROUP_START push 14
  '(T' D+                     => MICRO_DOCUMENT_START push 23
  '(c' D+                     => CHART_START push 21
  '(D' D+                     => skip push 16
  '(' [Vinpq] D+              => skip push 13
end

group diagram-data
  DATA                        => DIAGRAM_DATA
  W+                          => skip
  ','                         => COMMA
end

# What groups and named objects pass over between their data.
group diagram-skips
  [<>]                        => skip
  BS | BS [^\n ()<>,X\\x]     => skip
end

# Backslash pairs and everything but parentheses, in outlines and the like.
group outline-skips
  BS [^\n] | BS | [^()\\]     => skip
end

mode 0 file-start
  '<!OPS,'                    => OPS_START switch 4
  '<'                         => INCORRECT_FILE
  [^<]                        => INCORRECT_FILE
end

mode 1 document-body empty TEXT
  use body-text
  '<Comment>'                 => TAG
  '<Comment' | '<!Comment'    => MANUAL_COMMENT_START push 5
  '<!End Declarations>' W*    => END_DECLARATIONS
  '<!Font Definitions,'       => FONT_DEFINITIONS_START push 6
  '<F' [1-9] D*               => FONT_CHANGE_START push 5
  '<!Autonumber Stream,' W+ DQ => AUTONUMBER_STREAM_START push 8
  '<!Class,' W+ DQ            => CLASS_START push 8
  '<Frame,'                   => FRAME_START push 9
  '<!Master Frame,'           => MASTER_FRAME_START push 9
  '<!Master Diagramming Object,' => MASTER_DIAGRAMMING_OBJECT_START push 9
  '<Page Header,'             => PAGE_HEADER_START push 10
  '<Page Footer,'             => PAGE_FOOTER_START push 10
  '<First Page Header,'       => FIRST_PAGE_HEADER_START push 10
  '<First Page Footer,'       => FIRST_PAGE_FOOTER_START push 10
  '<Right Page Header,'       => RIGHT_PAGE_HEADER_START push 10
  '<Right Page Footer,'       => RIGHT_PAGE_FOOTER_START push 10
  '<Left Page Header,'        => LEFT_PAGE_HEADER_START push 10
  '<Left Page Footer,'        => LEFT_PAGE_FOOTER_START push 10
  '<!APage,'                  => SPLIT_DOCUMENT_START push 5
  '<!Class Defaults,'         => CLASS_DEFAULTS_START push 5
  '<!Color Definitions,'      => COLOR_DEFINITIONS_START push 5
  '<!Color Name,'             => COLOR_NAME_START push 5
  '<!Color Tint,'             => COLOR_TINT_START push 5
  '<!Document,'               => DOCUMENT_START push 5
  '<!Include Declarations,'   => INCLUDE_DECLARATIONS_START push 5
  '<!Include,'                => INCLUDE_START push 5
  '<!Master Table,'           => MASTER_TABLE_START push 5
  '<!Page Number Stream,'     => PAGE_NUMBER_STREAM_START push 5
  '<!Page,'                   => PAGE_START push 5
  '<!Pattern Definitions,'    => PATTERN_DEFINITIONS_START push 5
  '<!Revision Tracking,'      => REVISION_TRACKING_START push 5
  '<Table'                    => TABLE_START push 5
  '<Row'                      => ROW_START push 5
  '<Master Row'               => MASTER_ROW_START push 5
  '<Cell'                     => CELL_START push 5
  '<End Table'                => END_TABLE_START push 5
end

mode 2 double-quoted-text empty DQUOTED_TEXT
  QUOTED_TEXT                 => DQUOTED_TEXT
  DQ                          => END_DQUOTE pop
end

mode 3 single-quoted-part
  W+                          => skip
  AP                          => END_SQUOTE pop
  '<'                         => TAG_START push 5
end

# The header; only the whitespace in front of Version belongs to a token.
mode 4 header
  W+ 'Version' W+ '=' W+      => VERSION
  'Character Encoding' W+ '=' W+ => CHARACTER_ENCODING
  D+                          => INTEGER
  '.'                         => PERIOD
  WORD_TEXT                   => WORD
  W                           => JUNK
  [^\t\n +\-0-9A-Z_a-z.>]     => JUNK
  '>'                         => OPS_END switch 1
end

# Tag attributes. Keywords come before WORD, which also matches A-Page.
mode 5 tag-attributes
  'A-Page'                    => A_PAGE
  'A-Page # Style'            => JUNK
  'Font' W+ '=' W+ 'F'        => FONT
  'Alt Font' W+ '=' W+ 'F'    => ALT_FONT
  'Subcomponent' W+ '=' W+ 'yes' => SUBCOMPONENT
  WORD_TEXT                   => WORD
  D+                          => NUMBER
  W+                          => JUNK
  TAG_OTHER                   => JUNK
  DQ                          => START_DQUOTE push 2
  AP                          => START_SQUOTE push 3
  '>'                         => TAG_END pop
end

mode 6 font-definitions
  W                           => skip
  'F' [1-9] D*                => FONT_DEFINITION_ELEMENT_START
  '='                         => FONT_DEFINITION_ELEMENT_EQUAL push 7
  'Bold'                      => FONT_DEFINITION_ELEMENT_BOLD
  'Italic'                    => FONT_DEFINITION_ELEMENT_ITALIC
  'Underline'                 => FONT_DEFINITION_ELEMENT_UNDERLINE
  ','                         => FONT_DEFINITION_ELEMENT_COMMA
  '>'                         => TAG_END pop
end

# Font name and size after '='. Space belongs to the name; a digit run after
# a space belongs to it only when a letter follows, so ' Univers 55 Bold 10'
# gives the word ' Univers ' and the size 55.
mode 7 font-name-and-size
  [\t\n]                      => skip
  automaton
    start                                          : L -> name  ' ' -> gap  D -> size    '.' -> fraction
    name     => FONT_DEFINITION_ELEMENT_WORD       : L -> name  ' ' -> gap  D -> name
    gap      => FONT_DEFINITION_ELEMENT_WORD       : L -> name  ' ' -> gap  D -> digits
    digits                                         : L -> gap               D -> digits
    size     => FONT_DEFINITION_ELEMENT_SIZE pop   : L -> gap               D -> size    '.' -> fraction
    fraction => FONT_DEFINITION_ELEMENT_SIZE pop   :                        D -> fraction '.' -> fraction
  end
end

mode 8 quoted-name empty DQUOTED_TEXT
  QUOTED_TEXT                 => DQUOTED_TEXT
  DQ                          => END_DQUOTE switch 5
end

mode 9 frame-attributes
  'Name' W+ '=' W+            => FRAME_NAME
  'Numbered' W+ '=' W+        => NUMBERED
  'Shared Contents' W+ '=' W+ 'yes' => FRAME_SHARED_CONTENTS
  'Diagram =' [^,]* ','       => DIAGRAM_START switch 12
  K+                          => WORD
  W+                          => JUNK
  TAG_OTHER                   => JUNK
  DQ                          => START_DQUOTE push 2
  AP                          => START_SQUOTE push 3
  '>'                         => FRAME_END pop
end

# Page header or footer: everything up to the diagram is passed over.
mode 10 header-footer-preamble
  ANY                         => skip
  'V11,'                      => skip push 11
end

mode 11 header-footer-diagram
  W+                          => JUNK
  '>'                         => FRAME_END switch 1
  use object-starts
end

mode 12 frame-diagram
  W+                          => JUNK
  '>'                         => FRAME_END pop
  use object-starts
end

mode 13 skipped-object
  use object-starts
  ')'                         => skip pop
  use outline-skips
end

mode 14 group empty DIAGRAM_DATA
  use diagram-data
  ')'                         => GROUP_END pop
  use diagram-skips
  use object-starts
end

# A named attribute: comma, at sign, quoted name, equals sign, quoted value.
mode 15 named-object empty DIAGRAM_DATA
  use diagram-data
  ')'                         => NAMED_OBJECT_END pop
  ',' W+ AT QUOTED W+ '=' W+ QUOTED W* => skip
  use diagram-skips
  use object-starts
end

mode 16 skipped-diagram-data
  ANY                         => skip
  '(D0,2,0' '0'* ')'          => skip pop
end

mode 17 old-style-outline
  ')'                         => OLD_STYLE_OUTLINE_OBJECT_END pop
  '('                         => skip push 18
  use outline-skips
end

mode 18 nested-parentheses
  ')'                         => skip pop
  '('                         => skip push 18
  use outline-skips
end

mode 19 text-string empty DIAGRAM_DATA
  E2+                         => DIAGRAM_DATA
  ','                         => COMMA
  ')'                         => TEXT_STRING_END pop
end

# Graphics, equations and outlines: '(' does not nest here.
mode 20 graphic-object
  ')'                         => GRAPHIC_OBJECT_END pop
  BS [^\n] | BS | [^)\\]      => skip
end

mode 21 chart empty DIAGRAM_DATA
  use diagram-data
  '(cD,'                      => CHART_LABEL_START push 22
  '('                         => skip push 18
  ')'                         => CHART_END pop
end

# The label's later fields belong to its end.
mode 22 chart-label empty DIAGRAM_DATA
  DATA                        => DIAGRAM_DATA
  W+                          => skip
  ',' [^)]* ')'               => CHART_LABEL_END pop
end

mode 23 micro-document empty DIAGRAM_DATA
  use diagram-data
  '<'                         => TAG_START push 24
  ')' | ')\n'                 => MICRO_DOCUMENT_END pop
end

mode 24 micro-document-tag
  K+                          => WORD
  W+                          => JUNK
  TAG_OTHER                   => JUNK
  DQ                          => START_DQUOTE push 2
  AP                          => START_SQUOTE push 3
  '>'                         => TAG_END switch 25
end

mode 25 micro-document-text empty TEXT
  use body-text
  '<End Text>'                => END_TEXT pop
end
