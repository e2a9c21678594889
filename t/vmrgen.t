#!/usr/bin/perl
# Generation of a port (vmrgen.pl), its export as text (vmrprint.pl) and the binary files
# embedded in it (encode64.pl).
use strict;
use warnings;
use File::Temp ();
use FindBin;
use lib "$FindBin::Bin/lib";
use Test::More;
use VmrScripts;

sub generate { my ($dir, $name, $doc) = @_; spew("$dir/$name.xvm", $doc); run_script('vmrgen.pl', "$dir/$name.xvm", "$dir/targets") }

# Each line must be a whole line of the file.
sub has_lines { my $text = slurp(shift); like($text, qr/^ *\Q$_\E$/m, "has: $_") for @_ }

# Compiles a generated unit where the compiler exists.
sub compiles {
    my ($dir, $tool, $cmd) = @_;
    return unless grep { -x "$_/$tool" } split /:/, $ENV{PATH};
    my $out = qx{cd '$dir' && $cmd 2>&1};
    is($?, 0, "$cmd passes") or diag($out);
}

# Encodes a file in a directory of its own as the editor does, and embeds the root element
# of the output as the second child of a NEWBINFILE.
sub embed {
    my ($dir, $file, $name) = @_;
    unlink "$dir/tmp.txt";
    my $r = run_script('encode64.pl', $file, 'tmp.txt', { cwd => "$dir" });
    is($r->{status}, 0, "$name: encoded") or diag($r->{stderr});
    (my $xml = slurp("$dir/tmp.txt")) =~ s/\A<\?xml[^>]*\?>\s*//;
    spew("$dir/doc.xvm", port_doc(build => qq{<NEWBINFILE Name="$name"><COMMENT/>$xml</NEWBINFILE>}));
}

subtest 'a rich C port, the same bytes every time, and its outline' => sub {
    my $dir = File::Temp->newdir;
    my $r = generate($dir, 'rich', slurp(fixture('rich.xvm')));
    is($r->{status}, 0, 'generated') or diag($r->{stderr});
    my $port = "$dir/targets/rich";
    is(join(' ', sort keys %{ tree_snapshot($port) }), 'build.pl build_jvmpi.sh libconf.pl parser parser/PCOPP.txt '
       . 'parser/PC_EDG_PCHPP.txt parser/PC_EDG_PCOPP.txt parser/PC_ORB_ORBOPT.txt parser/STANDARDA83.txt port.ini '
       . 'run.sh settings.pl vmrconf.c vmrconf.h vmrinstr.h vmrjvmpi.c', 'exactly these files; no ignored Ada library');
    is_deeply([ini_name_lines("$dir/targets")], ['NAME="C++ Rich Port"'], 'one NAME= line');
    # Loaded as Perl, so that quoting mistakes show as wrong values.
    my %tables = do { package Settings; our (%IS_C, %IS_CPP, %IS_A83); do "$port/settings.pl" or die "$@$!";
                      (c => {%IS_C}, cpp => {%IS_CPP}, a83 => {%IS_A83}) };
    is_deeply(\%tables, { a83 => {}, cpp => { SRCEXT => '.cpp', 'BACK\\SLASH' => q{a\b 'q'} },
        c => { ASMEXT => '.s', SRCEXT => '.c', CROSS_PREFIX => 'arm-none-eabi-', DEFAULT_DEFINES => q{-DPORT_NAME=rich -DQUOTE='x'} } },
        'settings: basic and user keys, quotes and backslashes; the key-less row left out');
    like(slurp("$port/build.pl"), qr/# Compiles one file\nsub compile \{\n    my \(\$src, \$obj\) = \@_;\n    return system.*sub link_objects/s,
         'comment, prototype, body and tail in one function, in document order');
    unlike(slurp("$port/build.pl"), qr/never used|sub ignored/, 'VALUEFCTPERL wins; unknown steps are no steps');
    like(slurp("$port/libconf.pl"), qr/sub clock_helper \{\n    return 42;\n\}/, 'Perl sheets go to libconf.pl');
    compiles($port, 'perl', "'$^X' -c $_") for 'build.pl', 'libconf.pl';
    has_lines("$port/vmrconf.h", '#define VMR_MAX_THREADS 16', '#define VMR_USE_HEAP 1', '#define VMR_USE_FLOAT 0',
        '#define VMR_BUFSIZE 4096', '#undef VMR_TRACE', '#define VMR_STACK 8192', '#define VMR_CHOICE_CLOCKING_CLOCK "Custom"',
        '#define VMR_CHOICE_CLOCKING_CLOCK_CUSTOM 1', '#define VMR_CLOCK_HZ 1000', 'extern long read_timer(void);',
        '#define VMR_DYNTRACK 1', '#define VMR_CHOICE_CLOCKING_OBSERVATIONS_ATEXIT "Yes"', '/* Output: File */');
    has_lines("$port/vmrjvmpi.c", '#define VMR_CHOICE_CUSTOMJVMPI_JVMPI_HEAP "Tracked"');
    like(slurp("$port/vmrconf.h"), qr/#define VMRCONF_H\n\n\/\* Shared \*\/\n#define VMR_SHARED 1\n(?!.*(NOT RENDERED|open_it|stdio|stddef|the end))/s,
         'the text shared with instrumented code first; no sheets of a variant without sheets, no texts of other units');
    like(slurp("$port/vmrinstr.h"), qr/#include <stddef\.h>\n\n#include "vmrconf\.h"\n/, 'instrumented code\'s text first');
    like(slurp("$port/vmrconf.c"), qr/#include <stdio\.h>\n\n#include "vmrconf\.h"\n.*long vmr_clock\(void\) \{\n    return read_timer\(\);\n\}.*long priv_clock\(void\).*\/\* extra io \*\/.*\/\* the end \*\/\n\z/s,
         'the runtime: its "before" text, C sheets, private functions, body texts, "after" text');
    compiles($port, 'cc', 'cc -fsyntax-only -Wall -Werror vmrconf.c');
    my %verbatim = ('build_jvmpi.sh' => "make agent\n", 'parser/PC_ORB_ORBOPT.txt' => "-orb-option\n", 'parser/PC_EDG_PCHPP.txt' => "--c++17\n",
        'run.sh' => qq{#!/bin/sh\nexec "\$@" # caf\xc3\xa9 <ok>\n}, 'parser/STANDARDA83.txt' => "package Standard is\nend Standard;\n");
    is(slurp("$port/$_"), $verbatim{$_}, "$_ verbatim") for sort keys %verbatim;
    my $before = tree_snapshot("$dir/targets");
    is(generate($dir, 'rich', slurp(fixture('rich.xvm')))->{status}, 0, 'again, over itself');
    is_deeply(tree_snapshot("$dir/targets"), $before, '  byte-identical, nothing left beside it');

    is(run_script('vmrprint.pl', "$dir/rich.xvm", "$dir/rich.txt")->{status}, 0, 'exported');
    utf8::decode(my $text = slurp("$dir/rich.txt"));
    ok(index($text, "$_\n") >= 0, 'has: ' . (split /\n/)[0]) or diag("missing:\n$_") for
        qq~Port "Rich Port" (C++ Rich Port), version V2009\n  Comment: A port that uses every part of the vocabulary.~,
        qq~      CROSS_PREFIX [user key] = arm-none-eabi-\n        Comment: toolchain prefix~,
        qq~    ASCII file "run.sh"\n      Comment: runner\n      | #!/bin/sh\n      | exec "\$@" # caf\x{e9} <ok>~,
        qq~      VMR_USE_HEAP: on\n      VMR_USE_FLOAT: off\n      VMR_BUFSIZE: defined, value "4096"\n      VMR_TRACE: undefined (value kept: "stderr")~,
        qq~      Choice "General IO"\n        Output: "File"\n        Variants: "File", "Custom" (with sheets)\n        Sheet "Open" (not used by this variant)~,
        qq~    Group "EDG" (PC_EDG)\n      Text "C options" (PC_EDG/PCOPP)\n        | --c99~;
    unlike($text, qr/Ignored|not at this level|ignored Ada library/, 'what the editor does not show is not exported');
};

subtest 'an Ada port' => sub {
    my $dir = File::Temp->newdir;
    my $field = sub { qq{<F><$_[0] Name="$_[1]"$_[2]</$_[0]></F>} };
    my $types = sub { port_doc(type => 'ADA', name => 'Ada Port', libconf => "<LIBCONFA>@_</LIBCONFA>") };
    is(generate($dir, 'ada', $types->('<TYPES>'
        . $field->('RENAMEADA', 'Vmr_Old', ' Value="0"><COMMENT/><VALUE>package Vmr_Old renames Ada.Text_IO</VALUE>')
        . $field->('CONSTANTSTRINGADA', 'Vmr_Banner', qq{><COMMENT>upper bound</COMMENT><VALUE>say "hi"\ntwice</VALUE>})
        . $field->('BINARY_MACRO', 'Vmr_Flag', ' Value="1"><COMMENT/>') . $field->('OPTIONAL_MACRO', 'Vmr_Opt', ' Defined="0" Value="x">')
        . '</TYPES><IO><FREE_TEXT_TOP_ADD_PRIV_IO_ADB Label="Body top"><VALUE>   Count : Natural := 0;</VALUE>'
        . '</FREE_TEXT_TOP_ADD_PRIV_IO_ADB><PRIV_OPEN><VALUEFCTADA><PROTO>   procedure Priv_Open is</PROTO><VALUE>   begin null;</VALUE>'
        . '<TAIL>   end Priv_Open;</TAIL></VALUEFCTADA></PRIV_OPEN></IO>'))->{status}, 0, 'the Ada port generated');
    is_deeply([ini_name_lines("$dir/targets")], ['NAME="Ada Ada Port"'], 'Ada port name');
    has_lines("$dir/targets/ada/vmr_conf.ads", '--  (off) package Vmr_Old renames Ada.Text_IO;', '--  upper bound',
        'Vmr_Banner : constant String := "say ""hi""" & ASCII.LF & "twice";', '--  Vmr_Opt is undefined',
        'Vmr_Flag : constant Boolean := True;', 'pragma Elaborate_Body;');
    like(slurp("$dir/targets/ada/vmr_conf.adb"), qr/package body Vmr_Conf is\n\n--  Body top\n   Count : Natural := 0;\n.*procedure Priv_Open is\n/s,
         'top declarations, then subprograms');
    compiles("$dir/targets/ada", 'gnatmake', 'gcc -c -gnatc vmr_conf.adb');
    generate($dir, 'plain', $types->('<TYPES>' . $field->('TYPEADA', 'T', '><VALUE>mod 8</VALUE>') . '</TYPES>'));
    ok(!-e "$dir/targets/plain/vmr_conf.adb" && slurp("$dir/targets/plain/vmr_conf.ads") !~ /Elaborate_Body/, 'no body without subprograms');
    spew("$dir/lib.a", 'x');
    embed($dir, "$dir/lib.a", 'lib.a');
    is(run_script('vmrprint.pl', "$dir/$_.xvm", "$dir/$_.txt")->{status}, 0, "$_ exported") for 'ada', 'doc';
    has_lines("$dir/doc.txt", 'Binary file "lib.a" (1 bytes)');
    has_lines("$dir/ada.txt", 'renaming Vmr_Old: off (package Vmr_Old renames Ada.Text_IO)', 'Vmr_Flag: on');
};

subtest 'texts with comment marks, backslashes and carriage returns stay texts in every language' => sub {
    my $dir = File::Temp->newdir;
    # A carriage return ends a comment line for Ada and Java; "\u" starts an escape even in
    # a Java comment; "/*" nests in C; a trailing backslash continues a C macro.
    my $texts = sub {
        my ($type, $conf, $extra) = @_;
        port_doc(type => $type, libconf => qq{<$conf><COMMENT>see C:\\users\\u&#13;this is no code</COMMENT>}
            . q{<TYPES Label="T /* x */ \u"><COMMENT>c</COMMENT><F><TEXT_MACRO Name="VMR_A"><COMMENT/><VALUE>C:\dir\</VALUE></TEXT_MACRO></F>}
            . qq{<G><TEXT_MACRO Name="VMR_B"><COMMENT/><VALUE>2</VALUE></TEXT_MACRO></G>$extra</TYPES></$conf>});
    };
    my %ports = (c => $texts->('CCPP', 'LIBCONFC', ''), java => $texts->('J2SE', 'LIBCONFJAVA', ''),
                 ada => $texts->('ADA', 'LIBCONFA', qq{<H><CONSTANTSTRINGADA Name="VMR_T"><COMMENT/><VALUE>a\tb&#13;c</VALUE></CONSTANTSTRINGADA></H>}));
    for my $name (sort keys %ports) {
        my $r = generate($dir, $name, $ports{$name});
        is($r->{status}, 0, "$name generated") or diag($r->{stderr});
    }
    spew("$dir/targets/c/use.c", qq{#include "vmrconf.h"\nint b = VMR_B;\n});
    compiles("$dir/targets/c", 'cc', 'cc -fsyntax-only -Wall -Werror use.c');
    compiles("$dir/targets/java", 'javac', 'javac -d . VmrConf.java');
    compiles("$dir/targets/ada", 'gnatmake', 'gcc -c -gnatc vmr_conf.ads');
    has_lines("$dir/targets/ada/vmr_conf.ads", q{VMR_T : constant String := "a" & Character'Val (9) & "b" & Character'Val (13) & "c";});

    # The outline keeps one entry to a line, whatever a name holds.
    spew("$dir/doc.xvm", port_doc(build => q{<NEWCMDFILE Name="a&#10;&quot;b\"><COMMENT/><VALUE>x&#13;y</VALUE></NEWCMDFILE>}));
    is(run_script('vmrprint.pl', "$dir/doc.xvm", "$dir/doc.txt")->{status}, 0, 'exported');
    like(slurp("$dir/doc.txt"), qr/^    ASCII file "a\\n\\"b\\\\"\n      \| x\n      \| y\n/m, '  a name with a line break and quotes');
};

subtest 'binary files of any size round trip byte for byte' => sub {
    my $dir = File::Temp->newdir;
    # 50 MB that do not compress, without waiting for a random source: generation parses
    # with the parser's default limits, under which a text node over 10 MB fails.
    my $block = join('', map { pack('N', ($_ * 2654435761) & 0xffffffff) } 1 .. 262_144);
    my %files = ('blob.bin' => join('', map {chr} 0 .. 255) x 3 . "\r\n\0tail", 'empty.bin' => '',
                 'big.bin' => join('', map { pack('N', $_) . substr($block, 4) } 1 .. 50));
    for my $name (sort keys %files) {
        spew("$dir/$name", $files{$name});
        embed($dir, "$dir/$name", "out-$name");
        my $gen = run_script('vmrgen.pl', "$dir/doc.xvm", "$dir/targets");
        is($gen->{status}, 0, "$name: generated") or diag($gen->{stderr});
        ok(slurp("$dir/targets/doc/out-$name") eq $files{$name}, "$name: decoded byte for byte");
    }
    for my $case ([["$dir/missing.bin"], qr/usage: encode64\.pl FILE OUT/],
                  [["$dir", "$dir/out"], qr/is a directory/], [['/dev/null', "$dir/out"], qr/not a regular file/]) {
        my $r = run_script('encode64.pl', @{ $case->[0] });
        ok($r->{status} && $r->{last} =~ $case->[1] && !-e "$dir/out", "refused: $case->[1]") or diag($r->{stderr});
    }
};

# Each refusal's words are checked against the editor's own check by the window tests; here,
# refusals found before and while the port is written leave everything as it was.
subtest 'what cannot be generated or exported is refused and nothing is written' => sub {
    my $dir = File::Temp->newdir;
    spew("$dir/blob.bin", 'x' x 100_000);
    embed($dir, "$dir/blob.bin", 'blob.bin');
    my $good = slurp("$dir/doc.xvm");
    is(generate($dir, 'doc', $good)->{status}, 0, 'a first port');
    my $before = tree_snapshot("$dir/targets");
    my $file = sub { qq{<NEWCMDFILE Name="$_[0]"><COMMENT/><VALUE>$_[1]</VALUE></NEWCMDFILE>} };
    for my $case ([$good =~ s/<DATA>\n\K(.)/$1 eq 'A' ? 'B' : 'A'/er, qr/digest does not match/],
        [$good =~ s{<DATA>[^<]*</DATA>\s*}{}r, qr/bytes instead of 100000/], [$good =~ s/<DATA>\n\K./!/r, qr/invalid base64 in its part 1$/],
        [{ build => $file->("$dir/outside.txt", 'x') }, qr/is an absolute path/],
        [{ build => '<NEWBINFILE Name=".."><COMMENT/><ENCODED_FILE Size="0"/></NEWBINFILE>' }, qr/binary file .*"\.\." contains "\.\."/],
        [{ build => $file->('a.txt', 1) . $file->('A.txt', 2) }, qr/"A\.txt" would be written twice/],
        [{ version => 'V2007' }, qr/of version V2007, not V2009; update it first/],
        [{ prolog => '<!DOCTYPE VMR [<!ENTITY e "x">]>' }, qr/declares entities/],
        ['<VMR', qr/cannot parse .*doc\.xvm/]) {
        my ($doc, $reason) = @$case;
        $doc = port_doc(%$doc) if ref $doc;
        my $r = generate($dir, 'doc', $doc);
        ok($r->{status} && $r->{last} =~ $reason, "refused: $reason") or diag($r->{stderr});
        ok(slurp("$dir/doc.xvm") eq $doc && !-e "$dir/outside.txt", '  the document untouched');
        is_deeply(tree_snapshot("$dir/targets"), $before, '  nothing written, the previous port intact');
    }
    like(generate($dir, '', port_doc())->{last}, qr/port directory has an empty name/, 'a document named ".xvm"');
    spew("$dir/doc.xvm", port_doc());
    # An export replaces its file whole or not at all.
    spew("$dir/out.txt", 'previous export');
    spew("$dir/bad.xvm", '<VMR Name="x"><IS>');
    for my $case ([[qw(bad.xvm out.txt)], qr/cannot parse \S*bad\.xvm, line \d+/], [[qw(doc.xvm no/such/out.txt)], qr/directory \S+ does not exist/],
                  [[qw(missing.xvm out.txt)], qr/missing\.xvm: no such file/], [['doc.xvm'], qr/usage: vmrprint\.pl DOC OUT/]) {
        my $r = run_script('vmrprint.pl', map {"$dir/$_"} @{ $case->[0] });
        ok($r->{status} && $r->{last} =~ $case->[1], "refused: $case->[1]") or diag($r->{stderr});
    }
    ok(slurp("$dir/out.txt") eq 'previous export' && slurp("$dir/doc.xvm") =~ /<VMR/, 'both files intact');
    symlink("$dir/out.txt", "$dir/link.txt") or die;
    is(run_script('vmrprint.pl', "$dir/doc.xvm", "$dir/link.txt")->{status}, 0, 'a good export, through a link');
    ok(-l "$dir/link.txt" && slurp("$dir/out.txt") =~ /\APort "Test" \(C\+\+ Test\)/, '  replaces the file linked to; the link stays');
};

subtest 'replacing a port' => sub {
    my $dir = File::Temp->newdir;
    my $file = sub { port_doc(build => qq{<NEWCMDFILE Name="$_[0]"><COMMENT/><VALUE>1</VALUE></NEWCMDFILE>}) };
    is(generate($dir, 'p', $file->('old.txt'))->{status} + generate($dir, 'p', $file->('new.txt'))->{status}, 0, 'generated twice');
    ok(!-e "$dir/targets/p/old.txt" && -e "$dir/targets/p/new.txt", 'a dropped file is gone');
    opendir(my $dh, "$dir/targets") or die;
    is_deeply([grep { !/^\.\.?$/ } readdir $dh], ['p'], 'no temporary directory left');
    mkdir "$dir/targets/mine";
    spew("$dir/targets/mine/precious.c", 'keep');
    like(generate($dir, 'mine', port_doc())->{last}, qr/exists and is not a generated port/, 'a directory it did not make is refused');
    is(slurp("$dir/targets/mine/precious.c"), 'keep', '  and its files are untouched');
    symlink("$dir/elsewhere", "$dir/targets/link") or die;
    like(generate($dir, 'link', port_doc())->{last}, qr/link is not a directory/, 'a symbolic link is not replaced');
    # The replacement would delete a document kept inside its own port.
    spew("$dir/targets/p/p.xvm", $file->('new.txt'));
    like(run_script('vmrgen.pl', "$dir/targets/p/p.xvm", "$dir/targets")->{last}, qr/lies inside the port directory/,
         'a document inside its port is refused');
    ok(-f "$dir/targets/p/p.xvm", '  and kept');
    is(run_script('vmrgen.pl', "$dir/p.xvm", "$dir/new/deeper")->{status}, 0, 'a missing target directory is made');
    ok(-f "$dir/new/deeper/p/port.ini", '  with the port inside');
};

done_testing;
