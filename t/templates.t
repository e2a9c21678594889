#!/usr/bin/perl
# Checks the port descriptions shipped with the installation (the four templates and the
# example port) and the reference page that documents them: each document must load in
# the editor as a current, complete port of its language family, every node must carry
# what its viewer reads, and every documentation anchor that a node names must exist.
use strict;
use warnings;
use Test::More;
use XML::LibXML;
use File::Basename qw(dirname);
use File::Spec;
use File::Find qw(find);
use File::Temp qw(tempdir);

my $source = File::Spec->catdir(dirname(File::Spec->rel2abs(__FILE__)), File::Spec->updir);
$source = $ENV{VMR_SOURCE_DIR} if !-d "$source/targets" && $ENV{VMR_SOURCE_DIR};
my $xml_dir = "$source/targets/xml";

my %SHIPPED = (
    'xml/templatec.xvm'         => { family => 'c',    type => 'CCPP', read_only => 'yes' },
    'xml/templatea.xvm'         => { family => 'ada',  type => 'ADA',  read_only => 'yes' },
    'xml/templatej2se.xvm'      => { family => 'java', type => 'J2SE', read_only => 'yes' },
    'xml/templatej2me.xvm'      => { family => 'java', type => 'J2ME', read_only => 'yes' },
    'examples/linux_gcc.xvm'    => { family => 'c',    type => 'CCPP', read_only => 'no' },
);

# ---- the vocabulary the editor's tree is built from -------------------------------
my @IS_TABLES = qw(IS_C IS_CPP IS_A IS_A83 IS_JAVA IS_ALL);
my @BASIC_KEYS = qw(ASMEXT SRCEXT OBJEXT EXEEXT DEFAULT_INCLUDE_PATHS DEFAULT_DEFINES
  DEFAULT_CPPFLAGS DEFAULT_CFLAGS DEFAULT_LDFLAGS DEFAULT_LIBRARY_PATHS DEFAULT_LIBS);
my @STEPS = qw(ASSEMBLER COMPILATION PREPROCESSING LIBRARY LINK EXECUTE EXECUTEDBG VMRPERLFUNC);
my %LIBCONF_KIND = (
    (map { $_ => 'free' } qw(FREE_TEXT_BEFORE_FOR_INSTR FREE_TEXT_BEFORE_FOR_VMR
      FREE_TEXT_BEFORE_FOR_INSTR_AND_GEN FREE_TEXT_AFTER_FOR_VMR FREE_TEXT_WITH_PRIV_IO_ADS
      FREE_TEXT_ADD_PRIV_IO_ADS)),
    (map { $_ => 'section' } qw(COMPILER_SPECIFICS APPLICATION_SPECIFICS TESTING_SPECIFICS IO
      HEAP CLOCKING THREADING FUNCTIONS)),
    (map { $_ => 'item' } qw(RESTRICTIONS TYPES CONSTANTS COMPONENTTESTING)),
    (map { $_ => 'choice' } qw(CLOCK THREADS FILTERS)),
    CUSTOMJAVA => 'java', CUSTOMJVMPI => 'jvmpi');
# Tested in this order, as the tree does: a tag in two lists takes the first.
my @SECTION_LISTS = (
    [subsection => qw(SYSTEM_TESTING OBSERVATIONS COMMENT_PAGE)],
    [choice => qw(EXIT DATE INIT MEMCPY CLOCK THREADS GENERAL_IO ERROR_IO GENERAL_HEAP
      LOWLEVEL_MEMLIB MEMLIB_EXTENSION CHOICE_PAGE)],
    [item => qw(PREPROCESSING_SPECIFICS LINKAGE CPP_SPECIFICS DATA_TYPES SPRINTF MAIN_RETURN
      STRING_SUPPORT FLOAT_SUPPORT SETTINGS_IO ITEM_PAGE)],
    [fct => qw(PRIV_INIT PRIV_CLOCK PRIV_OPEN PRIV_WRITELN PRIV_CLOSE FCT_PAGE)],
    [free => qw(FREE_TEXT_WITH_PRIV_IO_ADB FREE_TEXT_TOP_ADD_PRIV_IO_ADB FREE_TEXT_ADD_PRIV_IO_ADB)]);
my @SUBSECTION_LISTS = (
    [choice => qw(MEMCPY GETHOSTNAME KRNMAIN RDV ATEXIT GETENV GETPID SIGNAL LONGJMP CHOICE_PAGE)],
    [item => qw(DYNTRACK INITSUPPORTED ITEM_PAGE)]);
my %JAVA_KIND = (JAVA_IMPORTS => 'free', map { $_ => 'choice' }
    qw(JAVA_EARLYINIT JAVA_THREADS JAVA_DATARETRIEVAL JAVA_CLOCK));
my %JVMPI_KIND = ((map { $_ => 'free' } qw(FREE_TEXT_BEFORE_FOR_VMR FREE_TEXT_AFTER_FOR_VMR BUILD_JVMPI)),
    map { $_ => 'choice' } qw(JVMPI_HEAP JVMPI_IO JVMPI_ERROR JVMPI_STRING JVMPI_DATE_IN_MILLISEC JVMPI_SOCKET));
my %PARSER_FREE = map { $_ => 1 } qw(STANDARDA83 STANDARDA95 SYSTEMADA83 SYSTEMADA95 JTESTXML PCOPP);
my %ITEM_FIELDS = map { $_ => 1 } qw(TEXT_MACRO TYPEADA CONSTANTADA CONSTANTSTRINGADA BINARY_MACRO
  OPTIONAL_MACRO RENAMEADA);
my %TEXT_FIELDS = map { $_ => 1 } qw(TEXT_MACRO TYPEADA CONSTANTADA CONSTANTSTRINGADA);
my %SHEET_FIELDS = map { $_ => 1 } qw(TEXT_MACRO BINARY_MACRO OPTIONAL_MACRO);
my %FUNCTION_TABS = map { $_ => 1 } qw(VALUEFCTPERL VALUEFCT VALUEFCTC VALUEFCTH);

# What each language family must show somewhere among its documents.
my %COVERAGE = (
    c => [qw(is:IS_C is:IS_CPP is:IS_ALL build:NEWCMDFILE edg:PCOPP edg:PCHPP parser:PC_ORB parser:PC_EDG
        field:TEXT_MACRO field:BINARY_MACRO field:OPTIONAL_MACRO sheet:TEXT_MACRO sheet:BINARY_MACRO
        sheet:OPTIONAL_MACRO tab:VALUEFCTC tab:VALUEFCTH tab:VALUEFCT tab:ITEM body:VALUEFCT row:INIFIELD),
        (map {"build:$_"} @STEPS), (map {"row:$_"} @BASIC_KEYS),
        (map {"libconf:$_"} qw(FREE_TEXT_BEFORE_FOR_INSTR FREE_TEXT_BEFORE_FOR_VMR
          FREE_TEXT_BEFORE_FOR_INSTR_AND_GEN FREE_TEXT_AFTER_FOR_VMR RESTRICTIONS TYPES CONSTANTS
          COMPONENTTESTING CLOCK THREADS FILTERS), grep { $LIBCONF_KIND{$_} eq 'section' } keys %LIBCONF_KIND),
        (map { my ($k, @t) = @$_; $k eq 'free' ? () : map {"section:$_"} @t } @SECTION_LISTS),
        (map { my ($k, @t) = @$_; map {"subsection:$_"} @t } @SUBSECTION_LISTS)],
    ada => [qw(is:IS_A is:IS_A83 is:IS_ALL libconf:FREE_TEXT_WITH_PRIV_IO_ADS libconf:FREE_TEXT_ADD_PRIV_IO_ADS
        section:FREE_TEXT_WITH_PRIV_IO_ADB section:FREE_TEXT_TOP_ADD_PRIV_IO_ADB section:FREE_TEXT_ADD_PRIV_IO_ADB
        field:TYPEADA field:CONSTANTADA field:CONSTANTSTRINGADA field:RENAMEADA body:VALUEFCTADA
        parser:STANDARDA83 parser:STANDARDA95 parser:SYSTEMADA83 parser:SYSTEMADA95),
        map {"build:$_"} @STEPS],
    java => [qw(is:IS_JAVA is:IS_ALL libconf:CUSTOMJAVA libconf:CUSTOMJVMPI parser:JTESTXML parser:PCOPP
        build:COMPILATION build:LIBRARY build:LINK build:EXECUTE build:EXECUTEDBG build:VMRPERLFUNC),
        (map {"java:$_"} keys %JAVA_KIND), map {"jvmpi:$_"} keys %JVMPI_KIND],
);
my %CONFIG_TAG = (c => 'LIBCONFC', ada => 'LIBCONFA', java => 'LIBCONFJAVA');

# ---- helpers ---------------------------------------------------------------------------
sub load {
    my ($path) = @_;
    return XML::LibXML->load_xml(location => $path, load_ext_dtd => 0, no_network => 1,
                                 expand_entities => 0, huge => 0);
}
sub elements { grep { $_->nodeType == XML_ELEMENT_NODE } $_[0]->childNodes }
sub child { my ($e, $tag) = @_; (grep { $_->nodeName eq $tag } elements($e))[0] }
sub text_of { my ($e, $tag) = @_; my $c = child($e, $tag); $c ? $c->textContent : undef }
sub where { my ($e) = @_; $e->nodePath }
# Passes when a list of findings is empty, and names every finding when it is not.
sub none {
    my ($found, $what) = @_;
    return ok(!@$found, $what) || diag(join("\n", @$found));
}
sub first_of { my ($tag, @lists) = @_; for (@lists) { my ($k, @t) = @$_; return $k if grep { $_ eq $tag } @t } undef }

# Walks a document the way the editor builds its tree. Returns the nodes as
# [kind, element, context] and the list of problems found on the way.
sub tree_nodes {
    my ($root) = @_;
    my (@nodes, @problems);
    my $add = sub { push @nodes, [@_] };
    my $stray = sub {
        my ($e, @known) = @_;
        my %ok = map { $_ => 1 } 'COMMENT', @known;
        push @problems, 'element that the tree does not show: ' . where($_)
            for grep { !$ok{$_->nodeName} } elements($e);
    };
    $add->('root', $root, 'root');
    $stray->($root, qw(IS BUILD LIBCONF PARSERCONF));
    for my $is (grep { $_->nodeName eq 'IS' } elements($root)) {
        $add->('comment', $is, 'root');
        $add->('table', $_, 'is') for grep { my $t = $_->nodeName; grep { $_ eq $t } @IS_TABLES } elements($is);
        $stray->($is, @IS_TABLES);
    }
    for my $build (grep { $_->nodeName eq 'BUILD' } elements($root)) {
        $add->('comment', $build, 'root');
        for my $e (elements($build)) {
            my $t = $e->nodeName;
            if (grep { $_ eq $t } @STEPS) { $add->('step', $e, 'build') }
            elsif ($t eq 'NEWCMDFILE') { $add->('file', $e, 'build') }
            elsif ($t eq 'NEWBINFILE') { $add->('binfile', $e, 'build') }
        }
        $stray->($build, @STEPS, 'NEWCMDFILE', 'NEWBINFILE');
    }
    for my $lib (grep { $_->nodeName eq 'LIBCONF' } elements($root)) {
        $add->('comment', $lib, 'root');
        $stray->($lib, values %CONFIG_TAG);
        my @configs = grep { my $t = $_->nodeName; grep { $_ eq $t } values %CONFIG_TAG } elements($lib);
        push @problems, 'LIBCONF holds ' . scalar(@configs) . ' configuration elements' if @configs != 1;
        next unless @configs;
        $stray->($configs[0], keys %LIBCONF_KIND);
        for my $e (elements($configs[0])) {
            my $kind = $LIBCONF_KIND{$e->nodeName} or next;
            # Sections and the Java and JVMPI groups only hold a comment of their own.
            my $grouping = $kind eq 'section' || $kind eq 'java' || $kind eq 'jvmpi';
            $add->($grouping ? 'comment' : $kind, $e, 'libconf');
            if ($kind eq 'section') {
                $stray->($e, map { my ($k, @t) = @$_; @t } @SECTION_LISTS);
                for my $s (elements($e)) {
                    my $k = first_of($s->nodeName, @SECTION_LISTS) or next;
                    if ($k ne 'subsection') { $add->($k, $s, 'section'); next }
                    $add->('comment', $s, 'section');
                    $stray->($s, map { my ($x, @t) = @$_; @t } @SUBSECTION_LISTS);
                    for my $ss (elements($s)) {
                        my $kk = first_of($ss->nodeName, @SUBSECTION_LISTS) or next;
                        $add->($kk, $ss, 'subsection');
                    }
                }
            } elsif ($kind eq 'java' || $kind eq 'jvmpi') {
                my $table = $kind eq 'java' ? \%JAVA_KIND : \%JVMPI_KIND;
                $stray->($e, keys %$table);
                $add->($table->{$_->nodeName}, $_, $kind) for grep { $table->{$_->nodeName} } elements($e);
            }
        }
    }
    for my $parser (grep { $_->nodeName eq 'PARSERCONF' } elements($root)) {
        $add->('comment', $parser, 'root');
        my ($first, $container) = ($parser->firstChild, $parser->firstChild && $parser->firstChild->nextSibling);
        if (!$first || $first->nodeName ne 'COMMENT' || !$container || $container->nodeType != XML_ELEMENT_NODE) {
            push @problems, 'PARSERCONF must start with its COMMENT followed by the settings container';
            next;
        }
        $stray->($container, 'PC_ORB', 'PC_EDG', keys %PARSER_FREE);
        for my $e (elements($container)) {
            my $t = $e->nodeName;
            if ($t eq 'PC_ORB') {
                my $orb = $e->firstChild;
                if ($orb && $orb->nodeType == XML_ELEMENT_NODE) { $add->('free', $orb, 'parser', 'PC_ORB') }
                else { push @problems, 'PC_ORB must start with its settings element: ' . where($e) }
            } elsif ($t eq 'PC_EDG') {
                $add->('comment', $e, 'parser');
                $stray->($e, 'PCOPP', 'PCHPP');
                $add->('free', $_, 'edg') for grep { $_->nodeName =~ /^PC[OH]PP$/ } elements($e);
            } elsif ($PARSER_FREE{$t}) { $add->('free', $e, 'parser') }
        }
    }
    return (\@nodes, \@problems);
}

sub first_node_is_element {
    my ($e, $tag) = @_;
    my $f = $e->firstChild;
    return $f && $f->nodeType == XML_ELEMENT_NODE && (!defined $tag || $f->nodeName eq $tag);
}

# Problems of one field element (a macro, an Ada type, constant or renaming).
sub field_problems {
    my ($f) = @_;
    my @p;
    my $at = where($f);
    push @p, "field without Name: $at" unless length($f->getAttribute('Name') // '');
    push @p, "field without Doc: $at" unless length($f->getAttribute('Doc') // '');
    push @p, "field without COMMENT: $at" unless child($f, 'COMMENT');
    my $t = $f->nodeName;
    if ($TEXT_FIELDS{$t}) {
        # The text field reads its value as the element's second child node.
        my $second = $f->firstChild ? $f->firstChild->nextSibling : undef;
        push @p, "text field whose second child node is not VALUE: $at"
            unless first_node_is_element($f, 'COMMENT') && $second && $second->nodeName eq 'VALUE';
    } elsif ($t eq 'BINARY_MACRO' || $t eq 'RENAMEADA') {
        push @p, "on/off field whose Value is not 0 or 1: $at" unless ($f->getAttribute('Value') // '') =~ /^[01]$/;
    } elsif ($t eq 'OPTIONAL_MACRO') {
        push @p, "optional field whose Defined is not 0 or 1: $at" unless ($f->getAttribute('Defined') // '') =~ /^[01]$/;
        push @p, "optional field without Value: $at" unless $f->hasAttribute('Value');
    }
    return @p;
}

sub function_problems {
    my ($f, $with_doc) = @_;
    my @p;
    for my $part (qw(PROTO VALUE TAIL)) {
        push @p, "function without $part: " . where($f) unless child($f, $part);
    }
    if ($with_doc) {
        push @p, 'function sheet without Doc: ' . where($f) unless length($f->getAttribute('Doc') // '');
        push @p, 'function sheet without COMMENT: ' . where($f) unless child($f, 'COMMENT');
    }
    return @p;
}

# ---- the checks ---------------------------------------------------------------------------
my (%docs, %covered, %docs_used);
for my $name (sort keys %SHIPPED) {
    my $doc = eval { load("$source/targets/$name") };
    ok($doc, "$name is well-formed") or diag($@), next;
    $docs{$name} = $doc;
    $docs_used{$_}{$name} = 1 for grep { length } map { $_->getAttribute('Doc') } $doc->findnodes('//*[@Doc]');
}
plan skip_all => 'no shipped document could be read' unless %docs;

for my $name (sort keys %docs) {
    my $want = $SHIPPED{$name};
    my $root = $docs{$name}->documentElement;
    subtest "$name: root and tree" => sub {
        is($root->nodeName, 'VMR', 'root element');
        my %attribute = (Version => 'V2009', read_only => $want->{read_only}, type => $want->{type});
        is($root->getAttribute($_), $attribute{$_}, $_) for sort keys %attribute;
        my $dtd = $docs{$name}->internalSubset;
        ok(!$dtd || $dtd->toString !~ /<!ENTITY/, 'declares no entities (the editor refuses them)');
        my ($nodes, $found) = tree_nodes($root);
        my @problems = @$found;
        my %config = map { $_->nodeName => 1 } map { elements($_) } $root->findnodes('LIBCONF');
        ok($config{ $CONFIG_TAG{ $want->{family} } }, "runtime configuration is $CONFIG_TAG{$want->{family}}");
        for my $n (@$nodes) {
            my ($kind, $e, $context, $tag) = @$n;
            my $at = where($e);
            $covered{ $want->{family} }{"$context:" . ($tag // $e->nodeName)} = 1;
            my $named = $kind eq 'root' || $kind eq 'file' || $kind eq 'binfile';
            push @problems, "node without " . ($named ? 'Name' : 'Label') . ": $at"
                unless length($e->getAttribute($named ? 'Name' : 'Label') // '');
            push @problems, "node without Doc: $at" if $kind ne 'file' && !length($e->getAttribute('Doc') // '');
            if ($kind eq 'table') {
                my $container = $e->firstChild;
                push(@problems, "settings table must hold a container that starts with COMMENT: $at"), next
                    unless $container && $container->nodeType == XML_ELEMENT_NODE && first_node_is_element($container, 'COMMENT');
                # New keys are copied from the row right after the comment.
                my $template = $container->firstChild->nextSibling;
                push @problems, "settings table whose first row is not right after its COMMENT: $at"
                    unless $template && $template->nodeType == XML_ELEMENT_NODE;
                my %seen;
                for my $row (grep { $_->nodeName ne 'COMMENT' } elements($container)) {
                    my $t = $row->nodeName;
                    my $key = $t eq 'INIFIELD' ? text_of($row, 'KEY') : $t;
                    $covered{ $want->{family} }{"row:$t"} = 1;
                    push @problems, "row with a key twice in one table: $key at $at" if $seen{$key // ''}++;
                    push @problems, "row without VALUE or COMMENT: " . where($row) unless child($row, 'VALUE') && child($row, 'COMMENT');
                    if ($t eq 'INIFIELD') {
                        push @problems, "user key without KEY text or Doc ISOTHERS: " . where($row)
                            unless length($key // '') && ($row->getAttribute('Doc') // '') eq 'ISOTHERS';
                    } elsif (grep { $_ eq $t } @BASIC_KEYS) {
                        push @problems, "basic key whose first child node is not an element: " . where($row)
                            unless first_node_is_element($row);
                        push @problems, "basic key without Doc: " . where($row) unless length($row->getAttribute('Doc') // '');
                    } else {
                        push @problems, "row that is neither a basic key nor INIFIELD: " . where($row);
                    }
                }
                $e = $container;    # its COMMENT is the node's comment
            }
            push @problems, "node without COMMENT: $at" unless child($e, 'COMMENT');
            push @problems, "text node without VALUE: $at" if $kind eq 'free' && !child($e, 'VALUE');
            if ($kind eq 'file') {
                my $file = $e->getAttribute('Name') // '';
                push @problems, "unsafe file name '$file': $at" if $file eq '' || $file =~ m{[/\\]} || $file =~ /^\.\.?$/;
                push @problems, "file element must hold COMMENT then VALUE: $at"
                    unless first_node_is_element($e, 'COMMENT') && ($e->firstChild->nextSibling // $e)->nodeName eq 'VALUE';
            }
            if ($kind eq 'step' || $kind eq 'fct') {
                my ($value) = grep { $_ } map { child($e, $_) } qw(VALUEFCTPERL VALUEFCTADA VALUEFCT);
                push(@problems, "function node without VALUEFCTPERL, VALUEFCTADA or VALUEFCT: $at"), next unless $value;
                $covered{ $want->{family} }{'body:' . $value->nodeName} = 1;
                push @problems, function_problems($value, 0);
            }
            if ($kind eq 'item') {
                for my $w (grep { $_->nodeName ne 'COMMENT' } elements($e)) {
                    my $f = $w->firstChild;
                    push(@problems, 'item page entry that shows no field: ' . where($w)), next
                        unless $f && $f->nodeType == XML_ELEMENT_NODE && $ITEM_FIELDS{ $f->nodeName };
                    $covered{ $want->{family} }{'field:' . $f->nodeName} = 1;
                    push @problems, field_problems($f);
                }
            }
            if ($kind eq 'choice') {
                my $choice = child($e, 'CHOICE');
                if (!$choice) { push @problems, "choice page without CHOICE: $at"; next }
                push @problems, "CHOICE is not the page's first element: $at" unless (elements($e))[0]->isSameNode($choice);
                push @problems, "CHOICE without Name: $at" unless length($choice->getAttribute('Name') // '');
                my (@variants, $sensitive);
                for my $d (grep { $_->nodeName eq 'CHOICEDATA' } elements($choice)) {
                    my $f = $d->firstChild;
                    push(@problems, 'variant without text: ' . where($d)), next
                        unless $f && $f->nodeType == XML_TEXT_NODE && $f->data =~ /\S/;
                    push @variants, $f->data;
                    my $s = $d->getAttribute('Sensitive') // '';
                    push @problems, 'variant whose Sensitive is not 0 or 1: ' . where($d) unless $s =~ /^[01]$/;
                    $sensitive ||= $s eq '1';
                }
                my %count;
                push @problems, "variant '$_' twice: $at" for grep { $count{$_}++ == 1 } @variants;
                my $value = $choice->getAttribute('Value') // '';
                push @problems, "chosen variant '$value' is not among the variants: $at" unless grep { $_ eq $value } @variants;
                my @tabs = grep { $_->nodeName eq 'ONGLET' } elements($choice);
                push @problems, "choice with sheets but no variant that enables them: $at" if @tabs && !$sensitive;
                push @problems, "choice whose enabling variant has no sheet: $at" if $sensitive && !@tabs;
                for my $tab (@tabs) {
                    push @problems, 'sheet without Label: ' . where($tab) unless length($tab->getAttribute('Label') // '');
                    my $f = $tab->firstChild;
                    if ($f && $f->nodeType == XML_ELEMENT_NODE && $FUNCTION_TABS{ $f->nodeName }) {
                        $covered{ $want->{family} }{'tab:' . $f->nodeName} = 1;
                        push @problems, function_problems($f, 1);
                    } elsif ($f && $f->nodeType == XML_ELEMENT_NODE && $f->nodeName eq 'ITEM') {
                        $covered{ $want->{family} }{'tab:ITEM'} = 1;
                        for my $w (elements($tab)) {
                            my $m = $w->firstChild;
                            push(@problems, 'sheet entry that shows no field: ' . where($w)), next
                                unless $w->nodeName eq 'ITEM' && $m && $m->nodeType == XML_ELEMENT_NODE && $SHEET_FIELDS{ $m->nodeName };
                            $covered{ $want->{family} }{'sheet:' . $m->nodeName} = 1;
                            push @problems, field_problems($m);
                        }
                    } else {
                        push @problems, 'sheet that the choice viewer cannot show: ' . where($tab);
                    }
                }
            }
        }
        none(\@problems, 'every node carries what its viewer reads');
    };
}

subtest 'each family uses its whole vocabulary' => sub {
    for my $family (sort keys %COVERAGE) {
        my @missing = grep { !$covered{$family}{$_} } sort @{ $COVERAGE{$family} };
        none(\@missing, "$family documents")
    }
};

subtest 'field names are identifiers, once per document; texts survive the editor' => sub {
    my $fields = join ' | ', map {"//$_"} sort keys %ITEM_FIELDS;
    for my $name (sort keys %docs) {
        my (%seen, @bad);
        for my $f ($docs{$name}->findnodes($fields)) {
            my $n = $f->getAttribute('Name') // '';
            # Ada types, constants and renamings become Ada declarations; macros become defines.
            my $ok = $f->nodeName =~ /ADA$/ ? $n =~ /^[A-Za-z](?:_?[A-Za-z0-9])*$/ : $n =~ /^[A-Z_][A-Z0-9_]*$/;
            push @bad, "not an identifier: $n" unless $ok;
            push @bad, "twice: $n" if $seen{lc $n}++;
        }
        # A text that is nothing but blanks is dropped by the editor's parser.
        push @bad, map { 'blank text: ' . where($_) } grep { my $t = $_->textContent; length $t && $t !~ /\S/ }
            $docs{$name}->findnodes('//VALUE | //PROTO | //TAIL | //COMMENT | //KEY');
        none(\@bad, $name);
    }
};

subtest 'Perl build functions compile' => sub {
    my $dir = tempdir(CLEANUP => 1);
    for my $name (sort keys %docs) {
        my @functions = $docs{$name}->findnodes('//VALUEFCTPERL');
        ok(@functions, "$name has Perl functions") or next;
        my $code = "use strict;\nuse warnings FATAL => 'all';\n";
        for my $f (@functions) {
            my ($proto, $body, $tail) = map { text_of($f, $_) // '' } qw(PROTO VALUE TAIL);
            like($proto, qr/^sub \w+ \{/, 'prototype opens a named sub: ' . where($f));
            like($tail, qr/^\}\s*$/, 'tail closes it: ' . where($f));
            $code .= "$proto\n$body\n$tail\n\n";
        }
        my $file = "$dir/" . ($name =~ tr{/}{_}r) . '.pl';
        open my $fh, '>', $file or die "$file: $!";
        print $fh $code, "1;\n";
        close $fh;
        my $out = qx{"$^X" -c "$file" 2>&1};
        is($?, 0, "$name: perl -c") or diag($out);
    }
};

subtest 'example port is made from the C template' => sub {
    my ($t, $x) = map { $docs{$_} } 'xml/templatec.xvm', 'examples/linux_gcc.xvm';
    plan skip_all => 'C template or example missing' unless $t && $x;
    my $paths = sub {
        my ($nodes) = tree_nodes($_[0]->documentElement);
        return { map { my $e = $_->[1]; (join('/', map { $_->nodeName } reverse grep { $_->nodeType == XML_ELEMENT_NODE } $e->findnodes('ancestor-or-self::*')) . '=' . ($e->getAttribute('Label') // '')) => 1 } grep { $_->[0] ne 'file' } @$nodes };
    };
    my ($tp, $xp) = ($paths->($t), $paths->($x));
    none([grep { !$xp->{$_} } sort keys %$tp], 'every page of the template is in the example');
    isnt($x->documentElement->getAttribute('Name'), $t->documentElement->getAttribute('Name'), 'the example has its own name');
};

# Calls to undeclared functions, missing context clauses and bodies are the faults that
# matter here: they link against nothing on the target.
my ($scripts) = grep { -f "$_/vmrgen.pl" } grep { defined }
    ($ENV{ORBISKDIR} ? "$ENV{ORBISKDIR}/lib/scripts" : undef), "$source/lib/scripts";
my ($cc) = grep { -x } map { "$_/gcc" } split /:/, $ENV{PATH} // '';
for my $lang (['C', c => qr/\.c$/, '-fsyntax-only -Wall -Werror=implicit-function-declaration'],
              ['Ada', ada => qr/\.ad[sb]$/, '-c -gnatc']) {
    my ($what, $family, $unit_re, $flags) = @$lang;
    subtest "the runtime configuration generated for the $what ports compiles" => sub {
        plan skip_all => 'needs vmrgen.pl and gcc' unless $scripts && $cc;
        if ($family eq 'ada') {
            chomp(my $probe = qx{"$cc" -print-prog-name=gnat1 2>/dev/null});
            plan skip_all => 'gcc has no Ada front end' unless $probe && -x $probe;
        }
        for my $name (grep { $SHIPPED{$_}{family} eq $family } sort keys %docs) {
            my $target = tempdir(CLEANUP => 1);
            my $out = qx{"$^X" -I"$scripts" "$scripts/vmrgen.pl" "$source/targets/$name" "$target" 2>&1};
            is($?, 0, "$name generates") or diag($out), next;
            my @units;
            find(sub { push @units, $File::Find::name if $_ =~ $unit_re }, $target);
            ok(@units, "$name: $what sources were generated");
            for my $unit (@units) {
                my $result = qx{cd "@{[ dirname($unit) ]}" && "$cc" $flags "$unit" 2>&1};
                is($?, 0, "$name: " . File::Spec->abs2rel($unit, $target) . ' compiles') or diag($result);
            }
        }
    };
}

subtest 'reference page documents every anchor the documents name' => sub {
    my $page = eval { load("$xml_dir/Reference.html") };
    ok($page, 'Reference.html is well-formed') or return diag($@);
    my (%anchors, @dup, @thin);
    for my $a ($page->findnodes('//a[@name]')) {
        my $n = $a->getAttribute('name');
        push @dup, $n if $anchors{$n}++;
        # The paragraph that follows the anchor's heading or term explains it.
        my $holder = $a->parentNode;
        my $next = $holder->nextSibling;
        $next = $next->nextSibling while $next && $next->nodeType != XML_ELEMENT_NODE;
        my $text = $next && $next->nodeName =~ /^(?:p|dd)$/ ? $next->textContent : '';
        $text =~ s/\s+/ /g;
        push @thin, $n if length $text < 40;
    }
    none(\@dup, 'anchors are unique');
    none(\@thin, 'each anchor is followed by a paragraph of documentation');
    my @missing = map { "$_ (" . join(', ', sort keys %{ $docs_used{$_} }) . ')' } grep { !$anchors{$_} } sort keys %docs_used;
    none(\@missing, 'every Doc value has its anchor');
    my @unused = grep { !$docs_used{$_} } sort keys %anchors;
    none(\@unused, 'every anchor documents something the documents use');
};

done_testing();
