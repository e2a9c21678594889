#!/usr/bin/perl
# Generation of a port (vmrgen.pl).

use strict;
use warnings;

use File::Copy ();
use File::Temp ();
use FindBin;
use lib "$FindBin::Bin/lib";
use Test::More;
use VmrScripts;

sub have { my ($tool) = @_; grep { -x "$_/$tool" } split /:/, $ENV{PATH} // '' }

# Runs a tool in a directory and returns its exit status and merged output.
sub tool {
    my ($dir, @cmd) = @_;
    my $pid = open(my $fh, '-|') // die "fork: $!";
    if (!$pid) {
        chdir $dir or exit 126;
        open(STDERR, '>&', \*STDOUT);
        exec(@cmd) or exit 127;
    }
    local $/;
    my $out = <$fh>;
    close $fh;
    return ($? >> 8, $out // '');
}

sub generate_fixture {
    my ($dir, $name) = @_;
    File::Copy::copy(fixture('rich.xvm'), "$dir/$name") or die "copy: $!";
    return run_script('vmrgen.pl', "$dir/$name", "$dir/targets");
}

subtest 'a rich C port' => sub {
    my $dir = File::Temp->newdir;
    my $r = generate_fixture($dir, 'rich.xvm');
    is($r->{status}, 0, 'generated') or diag($r->{stderr});
    my $port = "$dir/targets/rich";
    my @files = sort keys %{ tree_snapshot($port) };
    is_deeply(\@files, [sort qw(port.ini settings.pl build.pl vmrconf.h vmrconf.c vmrinstr.h
                                libconf.pl vmrjvmpi.c build_jvmpi.sh run.sh parser parser/PC_ORB_ORBOPT.txt
                                parser/PC_EDG_PCOPP.txt parser/PC_EDG_PCHPP.txt
                                parser/STANDARDA83.txt parser/PCOPP.txt)],
              'exactly the documented files; the ignored Ada library gives none');

    my @names = ini_name_lines("$dir/targets");
    is_deeply(\@names, ['NAME="C++ Rich Port"'], 'one NAME= line, with the port name');

    # Settings: loaded as Perl, so quoting mistakes show as wrong values.
    my %tables = do {
        package Settings;
        our (%IS_C, %IS_CPP, %IS_ALL, %IS_A83);
        my $ok = do "$port/settings.pl";
        die "settings.pl: $@$!" unless $ok;
        (c => {%IS_C}, cpp => {%IS_CPP}, all => {%IS_ALL}, a83 => {%IS_A83});
    };
    is_deeply($tables{c}, { ASMEXT => '.s', SRCEXT => '.c', CROSS_PREFIX => 'arm-none-eabi-',
                            DEFAULT_DEFINES => q{-DPORT_NAME=rich -DQUOTE='x'} },
              'C table: basic and user keys; the key-less row is left out');
    is_deeply($tables{cpp}, { SRCEXT => '.cpp', 'BACK\\SLASH' => q{a\b 'q'} },
              'backslashes and quotes survive');
    is_deeply($tables{a83}, {}, 'an empty table is an empty hash');

    my $build = slurp("$port/build.pl");
    like($build, qr/sub compile \{\n    my \(\$src, \$obj\) = \@_;\n    return system/,
         'prototype, body and tail in one function');
    unlike($build, qr/never used/, 'VALUEFCTPERL wins over VALUEFCT');
    unlike($build, qr/sub ignored/, 'unknown steps are not build steps');
    ok(index($build, 'sub compile') < index($build, 'sub link_objects'), 'document order');
    like($build, qr/# Compiles one file\n/, 'step comment');
    my ($status, $out) = tool($port, $^X, '-c', 'build.pl');
    is($status, 0, 'build.pl compiles') or diag($out);
    ($status, $out) = tool($port, $^X, '-c', 'libconf.pl');
    is($status, 0, 'libconf.pl compiles') or diag($out);
    like(slurp("$port/libconf.pl"), qr/sub clock_helper \{\n    return 42;\n\}/,
         'Perl sheets of the library go to libconf.pl');

    my $h = slurp("$port/vmrconf.h");
    for my $line ('#define VMR_MAX_THREADS 16', '#define VMR_USE_HEAP 1', '#define VMR_USE_FLOAT 0',
                  '#define VMR_BUFSIZE 4096', '#undef VMR_TRACE', '#define VMR_STACK 8192',
                  '#define VMR_CHOICE_CLOCKING_CLOCK "Custom"',
                  '#define VMR_CHOICE_CLOCKING_CLOCK_CUSTOM 1', '#define VMR_CLOCK_HZ 1000',
                  'extern long read_timer(void);',
                  '#define VMR_CHOICE_CLOCKING_OBSERVATIONS_ATEXIT "Yes"',
                  '#define VMR_DYNTRACK 1', '/* Output: File */',
                  '#define VMR_CHOICE_IO_GENERAL_IO "File"') {
        like($h, qr/^\Q$line\E$/m, "header: $line");
    }
    unlike($h, qr/NOT RENDERED|open_it/, 'sheets of a variant without sheets stay out');
    like($h, qr/#define VMRCONF_H\n\n\/\* Shared \*\/\n#define VMR_SHARED 1\n/,
         'the text shared by instrumented code and runtime opens the header');
    unlike($h, qr/stdio|stddef|the end/, 'texts of the other units stay out of the header');
    like(slurp("$port/vmrinstr.h"), qr/#include <stddef\.h>\n\n#include "vmrconf\.h"\n/,
         'the instrumented code\'s text comes before the configuration');
    my $c = slurp("$port/vmrconf.c");
    like($c, qr/#include <stdio\.h>\n\n#include "vmrconf\.h"\n/,
         'the runtime\'s "before" text precedes everything');
    like($c, qr/\/\* the end \*\/\n\z/, 'its "after" text comes last');
    like($c, qr/long vmr_clock\(void\) \{\n    return read_timer\(\);\n\}/, 'C sheet in the source');
    like($c, qr/long priv_clock\(void\)/, 'private function in the source');
    like($c, qr{/\* extra io \*/}, 'body text in the source');
    like(slurp("$port/vmrjvmpi.c"), qr/^#define VMR_CHOICE_CUSTOMJVMPI_JVMPI_HEAP "Tracked"$/m,
         'JVMPI choices in the agent\'s source');
    is(slurp("$port/build_jvmpi.sh"), "make agent\n", 'JVMPI build text verbatim');
    SKIP: {
        skip 'no C compiler', 1 unless have('cc');
        my ($st, $msg) = tool($port, 'cc', '-fsyntax-only', '-Wall', '-Werror', 'vmrconf.c');
        is($st, 0, 'the C configuration compiles') or diag($msg);
    }

    is(slurp("$port/run.sh"), qq{#!/bin/sh\nexec "\$@" # caf\xc3\xa9 <ok>\n},
       'ASCII file verbatim, UTF-8');
    is(slurp("$port/parser/PC_ORB_ORBOPT.txt"), "-orb-option\n", 'PC_ORB text');
    is(slurp("$port/parser/PC_EDG_PCHPP.txt"), "--c++17\n", 'PC_EDG text');
    is(slurp("$port/parser/STANDARDA83.txt"), "package Standard is\nend Standard;\n",
       'parser text verbatim');
};

my $ADA = <<'EOF';
<LIBCONFA Label="Ada library"><COMMENT>Ada configuration</COMMENT>
<FREE_TEXT_ADD_PRIV_IO_ADS Label="Declarations"><COMMENT/><VALUE>   procedure Priv_Open;</VALUE></FREE_TEXT_ADD_PRIV_IO_ADS>
<FREE_TEXT_WITH_PRIV_IO_ADS Label="Context"><COMMENT/><VALUE>with Ada.Text_IO;</VALUE></FREE_TEXT_WITH_PRIV_IO_ADS>
<TYPES Label="Types"><COMMENT/>
<VMR_INT><TYPEADA Name="Vmr_Int"><COMMENT/><VALUE>range 0 .. 1000;</VALUE></TYPEADA></VMR_INT>
<VMR_IO><RENAMEADA Name="Vmr_Io" Value="1"><COMMENT/><VALUE>package Vmr_Io renames Ada.Text_IO</VALUE></RENAMEADA></VMR_IO>
<VMR_OLD><RENAMEADA Name="Vmr_Old" Value="0"><COMMENT/><VALUE>package Vmr_Old renames Ada.Text_IO</VALUE></RENAMEADA></VMR_OLD>
<VMR_FAST><RENAMEADA Name="Vmr_Fast" Value="0"><COMMENT/></RENAMEADA></VMR_FAST>
</TYPES>
<CONSTANTS Label="Constants"><COMMENT/>
<MAX><CONSTANTADA Name="Vmr_Max"><COMMENT>upper bound</COMMENT><VALUE>64</VALUE></CONSTANTADA></MAX>
<BANNER><CONSTANTSTRINGADA Name="Vmr_Banner"><COMMENT/><VALUE>say "hi"
twice</VALUE></CONSTANTSTRINGADA></BANNER>
<FLAG><BINARY_MACRO Name="Vmr_Flag" Value="1"><COMMENT/></BINARY_MACRO></FLAG>
<OPT><OPTIONAL_MACRO Name="Vmr_Opt" Defined="0" Value="x"><COMMENT/></OPTIONAL_MACRO></OPT>
</CONSTANTS>
<IO Label="IO"><COMMENT/>
<FREE_TEXT_ADD_PRIV_IO_ADB Label="Body end"><COMMENT/><VALUE>   procedure Unused is null;</VALUE></FREE_TEXT_ADD_PRIV_IO_ADB>
<FREE_TEXT_TOP_ADD_PRIV_IO_ADB Label="Body top"><COMMENT/><VALUE>   Count : Natural := 0;</VALUE></FREE_TEXT_TOP_ADD_PRIV_IO_ADB>
<PRIV_OPEN Label="Open"><COMMENT/><VALUEFCTADA><PROTO>   procedure Priv_Open is</PROTO><VALUE>   begin
      Vmr_Io.Put_Line (Vmr_Banner);</VALUE><TAIL>   end Priv_Open;</TAIL></VALUEFCTADA></PRIV_OPEN>
</IO>
<THREADS Label="Threads"><COMMENT/><CHOICE Name="Tasking" Value="Ravenscar"><CHOICEDATA>None</CHOICEDATA><CHOICEDATA>Ravenscar</CHOICEDATA></CHOICE></THREADS>
</LIBCONFA>
EOF

subtest 'an Ada port' => sub {
    my $dir = File::Temp->newdir;
    spew("$dir/ada.xvm", port_doc(type => 'ADA', name => 'Ada Port', libconf => $ADA));
    my $r = run_script('vmrgen.pl', "$dir/ada.xvm", "$dir/targets");
    is($r->{status}, 0, 'generated') or diag($r->{stderr});
    my $port = "$dir/targets/ada";
    is_deeply([ini_name_lines("$dir/targets")], ['NAME="Ada Ada Port"'], 'Ada port name');
    my $ads = slurp("$port/vmr_conf.ads");
    like($ads, qr/with Ada\.Text_IO;\n\npackage Vmr_Conf is\n/, 'context clause before the package');
    for my $line ('   type Vmr_Int is range 0 .. 1000;', '   package Vmr_Io renames Ada.Text_IO;',
                  '   --  (off) package Vmr_Old renames Ada.Text_IO;',
                  '   Vmr_Fast : constant Boolean := False;', '   Vmr_Max : constant := 64;',
                  '   Vmr_Banner : constant String := "say ""hi""" & ASCII.LF & "twice";',
                  '   Vmr_Flag : constant Boolean := True;', '   --  Vmr_Opt is undefined',
                  '   Choice_Threads : constant String := "Ravenscar";', '   --  upper bound') {
        like($ads, qr/^\Q$line\E$/m, "spec: $line");
    }
    like($ads, qr/package Vmr_Conf is\n   pragma Elaborate_Body;\n/, 'the spec asks for its body');
    like($ads, qr/   procedure Priv_Open;\n\nend Vmr_Conf;/, 'additions close the spec');
    my $adb = slurp("$port/vmr_conf.adb");
    like($adb, qr/package body Vmr_Conf is\n\n--  Body top\n   Count : Natural := 0;\n/,
         'top declarations open the body');
    like($adb, qr/procedure Priv_Open is\n   begin\n.*procedure Unused is null;\n\nend Vmr_Conf;/s,
         'subprograms, then additions close it');

    spew("$dir/plain.xvm", port_doc(type => 'ADA', libconf => '<LIBCONFA><TYPES><T><TYPEADA Name="T">'
                                     . '<VALUE>mod 8</VALUE></TYPEADA></T></TYPES></LIBCONFA>'));
    is(run_script('vmrgen.pl', "$dir/plain.xvm", "$dir/targets")->{status}, 0, 'a spec alone');
    ok(!-e "$dir/targets/plain/vmr_conf.adb", 'no body without subprograms');
    unlike(slurp("$dir/targets/plain/vmr_conf.ads"), qr/Elaborate_Body/, 'and the spec needs none');
    SKIP: {
        skip 'no Ada compiler', 1 unless have('gnatmake');
        my ($st, $msg) = tool($port, 'gcc', '-c', '-gnatc', 'vmr_conf.adb');
        is($st, 0, 'the Ada configuration passes the compiler\'s checks') or diag($msg);
    }
};

subtest 'a Java port' => sub {
    my $dir = File::Temp->newdir;
    my $libconf = <<'EOF';
<LIBCONFJAVA Label="Java library"><COMMENT/>
<CUSTOMJAVA Label="Java"><COMMENT/>
<JAVA_IMPORTS Label="Imports"><COMMENT/><VALUE>import java.util.List;</VALUE></JAVA_IMPORTS>
<JAVA_CLOCK Label="Clock"><COMMENT/><CHOICE Name="Clock" Value="Nano"><CHOICEDATA>Milli</CHOICEDATA><CHOICEDATA Sensitive="1">Nano</CHOICEDATA>
<ONGLET Label="Clock function"><VALUEFCT><COMMENT/><PROTO>    static long now() {</PROTO><VALUE>        return System.nanoTime();</VALUE><TAIL>    }</TAIL></VALUEFCT></ONGLET>
<ONGLET Label="Settings"><ITEM><TEXT_MACRO Name="CLOCK_NAME"><COMMENT/><VALUE>nano "clock" \ns</VALUE></TEXT_MACRO></ITEM>
<ITEM><OPTIONAL_MACRO Name="CLOCK_UNIT" Defined="0" Value="ns"><COMMENT/></OPTIONAL_MACRO></ITEM>
<ITEM><BINARY_MACRO Name="CLOCK_FAST" Value="1"><COMMENT/></BINARY_MACRO></ITEM></ONGLET></CHOICE></JAVA_CLOCK>
</CUSTOMJAVA>
<RESTRICTIONS Label="Restrictions"><COMMENT/><ITEM><OPTIONAL_MACRO Name="MAX" Defined="1" Value="5"><COMMENT/></OPTIONAL_MACRO></ITEM></RESTRICTIONS>
</LIBCONFJAVA>
EOF
    spew("$dir/java.xvm", port_doc(type => 'JAVA', name => 'J', libconf => $libconf));
    my $r = run_script('vmrgen.pl', "$dir/java.xvm", "$dir/targets");
    is($r->{status}, 0, 'generated') or diag($r->{stderr});
    my $java = slurp("$dir/targets/java/VmrConf.java");
    like($java, qr/import java\.util\.List;\n\npublic final class VmrConf \{/, 'imports first');
    for my $line ('    public static final String CHOICE_CUSTOMJAVA_JAVA_CLOCK = "Nano";',
                  '    public static final String CLOCK_NAME = "nano \"clock\" \\\\ns";',
                  '    public static final String CLOCK_UNIT = null;',
                  '    public static final boolean CLOCK_FAST = true;',
                  '    public static final String MAX = "5";',
                  '        return System.nanoTime();') {
        like($java, qr/^\Q$line\E$/m, "class: $line");
    }
    SKIP: {
        skip 'no Java compiler', 1 unless have('javac');
        my $classes = File::Temp->newdir;
        my ($st, $msg) = tool("$dir/targets/java", 'javac', '-d', "$classes", 'VmrConf.java');
        is($st, 0, 'the Java configuration compiles') or diag($msg);
    }
};

subtest 'the same document gives the same bytes' => sub {
    my $dir = File::Temp->newdir;
    File::Copy::copy(fixture('rich.xvm'), "$dir/rich.xvm") or die;
    is(run_script('vmrgen.pl', "$dir/rich.xvm", "$dir/one")->{status}, 0, 'first run');
    is(run_script('vmrgen.pl', "$dir/rich.xvm", "$dir/two")->{status}, 0, 'second run');
    is(run_script('vmrgen.pl', "$dir/rich.xvm", "$dir/two")->{status}, 0, 'over itself');
    my ($one, $two) = (tree_snapshot("$dir/one"), tree_snapshot("$dir/two"));
    ok(keys %$one > 10, 'a full port');
    is_deeply($two, $one, 'byte-identical trees, nothing left beside the port');
};

subtest 'unsafe names are refused and nothing is written' => sub {
    my $dir = File::Temp->newdir;
    my $outside = "$dir/outside.txt";
    my $good = port_doc(build => '<NEWCMDFILE Name="ok.txt"><COMMENT/><VALUE>v1</VALUE></NEWCMDFILE>');
    spew("$dir/doc.xvm", $good);
    is(run_script('vmrgen.pl', "$dir/doc.xvm", "$dir/targets")->{status}, 0, 'a previous port');
    my %cases = (
        absolute    => [qq{<NEWCMDFILE Name="$outside"><COMMENT/><VALUE>x</VALUE></NEWCMDFILE>},
                        qr/is an absolute path/],
        separator   => ['<NEWCMDFILE Name="a/b"><COMMENT/><VALUE>x</VALUE></NEWCMDFILE>',
                        qr/"a\/b" contains a directory separator/],
        backslash   => ['<NEWCMDFILE Name="a\\b"><COMMENT/><VALUE>x</VALUE></NEWCMDFILE>',
                        qr/contains a directory separator/],
        parent      => ['<NEWBINFILE Name=".."><COMMENT/><ENCODED_FILE Size="0"/></NEWBINFILE>',
                        qr/binary file .*"\.\." contains "\.\."/],
        empty       => ['<NEWCMDFILE Name=""><COMMENT/><VALUE>x</VALUE></NEWCMDFILE>',
                        qr/has an empty name/],
        no_name     => ['<NEWCMDFILE><COMMENT/><VALUE>x</VALUE></NEWCMDFILE>', qr/has an empty name/],
        reserved    => ['<NEWCMDFILE Name="Port.INI"><COMMENT/><VALUE>x</VALUE></NEWCMDFILE>',
                        qr/name of a file that the generator writes/],
        twice       => ['<NEWCMDFILE Name="a.txt"><COMMENT/><VALUE>1</VALUE></NEWCMDFILE>'
                        . '<NEWCMDFILE Name="A.txt"><COMMENT/><VALUE>2</VALUE></NEWCMDFILE>',
                        qr/"A\.txt" would be written twice/],
        ini_record  => ['<NEWCMDFILE Name="extra.ini"><COMMENT/><VALUE>NAME="x"</VALUE></NEWCMDFILE>',
                        qr/NAME= line/],
        no_data     => ['<NEWBINFILE Name="b.bin"><COMMENT/></NEWBINFILE>', qr/holds no encoded data/],
    );
    my $before = tree_snapshot("$dir");
    for my $title (sort keys %cases) {
        my ($build, $reason) = @{ $cases{$title} };
        spew("$dir/doc.xvm", port_doc(build => $build));
        my $doc_bytes = slurp("$dir/doc.xvm");
        my $r = run_script('vmrgen.pl', "$dir/doc.xvm", "$dir/targets");
        isnt($r->{status}, 0, "$title: refused");
        like($r->{last}, $reason, "$title: reason on the last line");
        my $after = tree_snapshot("$dir");
        is($after->{'doc.xvm'}, $doc_bytes, "$title: document untouched");
        delete $after->{'doc.xvm'};
        my %expected = %$before;
        delete $expected{'doc.xvm'};
        is_deeply($after, \%expected, "$title: nothing written, previous port intact");
    }
    ok(!-e $outside, 'no file outside the target directory');

    spew("$dir/.xvm", $good);
    my $r = run_script('vmrgen.pl', "$dir/.xvm", "$dir/targets");
    like($r->{last}, qr/port directory has an empty name/, 'a document named ".xvm" has no port');

    spew("$dir/doc.xvm", $good . "\n");
    spew("$dir/doc.xvm", port_doc(build => '<NEWCMDFILE Name="x..y"><COMMENT/><VALUE/></NEWCMDFILE>'));
    $r = run_script('vmrgen.pl', "$dir/doc.xvm", "$dir/targets");
    like($r->{last}, qr/contains "\.\."/, 'any ".." is refused');
};

subtest 'replacing a port' => sub {
    my $dir = File::Temp->newdir;
    spew("$dir/p.xvm", port_doc(build => '<NEWCMDFILE Name="old.txt"><COMMENT/><VALUE>1</VALUE></NEWCMDFILE>'));
    is(run_script('vmrgen.pl', "$dir/p.xvm", "$dir/targets")->{status}, 0, 'first port');
    spew("$dir/p.xvm", port_doc(build => '<NEWCMDFILE Name="new.txt"><COMMENT/><VALUE>2</VALUE></NEWCMDFILE>'));
    is(run_script('vmrgen.pl', "$dir/p.xvm", "$dir/targets")->{status}, 0, 'second port');
    ok(!-e "$dir/targets/p/old.txt", 'a file dropped from the document is gone');
    is(slurp("$dir/targets/p/new.txt"), '2', 'the new file is there');
    opendir(my $dh, "$dir/targets") or die;
    is_deeply([sort grep { !/^\.\.?$/ } readdir $dh], ['p'], 'no temporary directory left');

    # A directory that the generator did not make is never replaced.
    mkdir "$dir/targets/mine";
    spew("$dir/targets/mine/precious.c", 'keep');
    spew("$dir/mine.xvm", port_doc());
    my $r = run_script('vmrgen.pl', "$dir/mine.xvm", "$dir/targets");
    isnt($r->{status}, 0, 'a foreign directory is refused');
    like($r->{last}, qr/exists and is not a generated port/, 'with the reason');
    is(slurp("$dir/targets/mine/precious.c"), 'keep', 'its files are untouched');

    symlink("$dir/elsewhere", "$dir/targets/link") or die;
    spew("$dir/link.xvm", port_doc());
    $r = run_script('vmrgen.pl', "$dir/link.xvm", "$dir/targets");
    like($r->{last}, qr/link is not a directory/, 'a symbolic link is not replaced');

    # The document inside its own port would be deleted by the replacement.
    File::Copy::copy("$dir/p.xvm", "$dir/targets/p/p.xvm") or die;
    $r = run_script('vmrgen.pl', "$dir/targets/p/p.xvm", "$dir/targets");
    like($r->{last}, qr/lies inside the port directory/, 'a document inside its port is refused');
    ok(-f "$dir/targets/p/p.xvm", 'and kept');
};

subtest 'documents that cannot be generated' => sub {
    my $dir = File::Temp->newdir;
    my $dup = '<IS_C Label="C"><ISC><COMMENT/><SRCEXT><VALUE>.c</VALUE><COMMENT/></SRCEXT>'
        . '<INIFIELD><KEY>SRCEXT</KEY><VALUE>.cc</VALUE><COMMENT/></INIFIELD></ISC></IS_C>';
    my %cases = (
        'a key twice in a table' => [port_doc(is => $dup), qr/IS_C has the key "SRCEXT" twice \(lines \d+ and \d+\)/],
        'an older version'       => [port_doc(version => 'V2007'), qr/of version V2007, not V2009; update it first/],
        'an entity'              => [port_doc(prolog => '<!DOCTYPE VMR [<!ENTITY e "x">]>'), qr/declares entities/],
        'not XML'                => ['<VMR', qr/cannot parse .*doc\.xvm/],
        'a field without a name' => [port_doc(libconf => '<LIBCONFC><TYPES><ITEM><TEXT_MACRO Name=""><VALUE>1</VALUE></TEXT_MACRO></ITEM></TYPES></LIBCONFC>'),
                                     qr/TEXT_MACRO field in TYPES \(line \d+\) has no name/],
        'a name on two lines'    => [port_doc(name => "a&#10;NAME=b"), qr/port name spans several lines/],
    );
    for my $title (sort keys %cases) {
        my ($content, $reason) = @{ $cases{$title} };
        spew("$dir/doc.xvm", $content);
        my $r = run_script('vmrgen.pl', "$dir/doc.xvm", "$dir/targets");
        isnt($r->{status}, 0, "$title: refused");
        like($r->{last}, $reason, "$title: reason");
        ok(!-e "$dir/targets/doc", "$title: no port");
    }
    my $r = run_script('vmrgen.pl', "$dir/doc.xvm");
    like($r->{last}, qr/usage: vmrgen\.pl DOC TARGETDIR/, 'one argument is refused');
    spew("$dir/file", '');
    spew("$dir/doc.xvm", port_doc());
    $r = run_script('vmrgen.pl', "$dir/doc.xvm", "$dir/file");
    like($r->{last}, qr/file is not a directory/, 'a target that is a file is refused');
    $r = run_script('vmrgen.pl', "$dir/doc.xvm", "$dir/new/deeper");
    is($r->{status}, 0, 'a missing target directory is created');
    ok(-f "$dir/new/deeper/doc/port.ini", 'with the port inside');
};

subtest 'installed templates and example' => sub {
    my $root = $ENV{VMR_SOURCE_DIR} || "$FindBin::Bin/..";
    my @docs = (glob("$root/targets/xml/template*.xvm"), glob("$root/targets/examples/*.xvm"));
    plan skip_all => 'no templates or examples yet' unless @docs;
    for my $doc (@docs) {
        my $dir = File::Temp->newdir;
        my $name = (split m{/}, $doc)[-1];
        File::Copy::copy($doc, "$dir/$name") or die;
        my $r = run_script('vmrgen.pl', "$dir/$name", "$dir/targets");
        is($r->{status}, 0, "$name generates") or diag($r->{stderr});
        is(scalar(my @l = ini_name_lines("$dir/targets")), 1, "$name: one NAME= line");
        my $p = run_script('vmrprint.pl', "$dir/$name", "$dir/out.txt");
        is($p->{status}, 0, "$name exports") or diag($p->{stderr});
        ok(-s "$dir/out.txt", "$name: the export is not empty");
    }
};

done_testing;
