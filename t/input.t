#!/usr/bin/perl
# What users hand the scripts besides plain ASCII: paths and names with blanks, letters of
# other scripts, quotes, "$", "&", "<", a line break or bytes that are not UTF-8; and
# documents that hold characters XML cannot hold.
use strict;
use warnings;
use utf8;
use Encode ();
use File::Path ();
use File::Temp ();
use FindBin;
use lib "$FindBin::Bin/lib";
use Test::More;
use VmrScripts;
use XML::LibXML;

binmode(Test::More->builder->$_, ':encoding(UTF-8)') for qw(output failure_output todo_output);

sub bytes { Encode::encode('UTF-8', $_[0]) }
sub xml_escaped { my $t = shift; $t =~ s/&/&amp;/g; $t =~ s/</&lt;/g; $t =~ s/"/&quot;/g; $t }

# A failure is one line of UTF-8 on standard error that names the path as the user reads it
# (a line break in it shows as "; ", so only what follows the last one is looked for).
sub names_path {
    my ($r, $shown, $reason) = @_;
    my $last = eval { Encode::decode('UTF-8', $r->{last}, Encode::FB_CROAK) } // "(not UTF-8) $r->{last}";
    my $tail = (split /\n/, $shown)[-1];
    ok($r->{status} && $r->{stderr} !~ /\n.*\S/ && index($last, $tail) >= 0 && $last =~ $reason,
       "refused, naming the path: $reason") or diag($r->{stderr});
}

# Each directory as the editor passes it (bytes) and as a message shows it.
my @DIRS = map { [bytes($_), $_] } 'dir with spaces/ünï cødé 文件', q{it's "q" $HOME \ & <b> ;|*?`(x)}, "line\nbreak";
push @DIRS, ["\xff latin-1 \xe9", "\x{FFFD} latin-1 \x{FFFD}"];
my $TEXT_NAME = q{ünï 'q' "d" $x & <b> ✓.txt};
my $BIN_NAME = q{blob $(rm) ;`x` ✓.bin};
my $BLOB = join('', map {chr} 0 .. 255) . "\r\n";

for my $dir (@DIRS) {
    my ($path, $shown) = @$dir;
    subtest "in \"$shown\"" => sub {
        my $top = File::Temp->newdir;
        my $d = "$top/$path";
        File::Path::make_path($d);
        # The editor's call: the chosen file, and tmp.txt in the current directory.
        spew("$d/" . bytes($BIN_NAME), $BLOB);
        my $r = run_script('encode64.pl', "$d/" . bytes($BIN_NAME), 'tmp.txt', { cwd => $d });
        is($r->{status} . $r->{stderr}, '0', 'encode64.pl encodes') or return;
        my $encoded = XML::LibXML->load_xml(string => slurp("$d/tmp.txt"))->documentElement;
        is($encoded->getAttribute('Name'), $BIN_NAME, '  under the file\'s own name');

        my $doc = port_doc(name => xml_escaped(q{Port ✓ 'q' "d" & <b>}),
            build => '<NEWCMDFILE Name="' . xml_escaped($TEXT_NAME) . '"><COMMENT/><VALUE>$HOME &amp; ✓</VALUE></NEWCMDFILE>'
                   . '<NEWBINFILE Name="' . xml_escaped($BIN_NAME) . '"><COMMENT/>' . $encoded->toString . '</NEWBINFILE>');
        spew("$d/" . bytes('my port ✓.xvm'), bytes($doc));
        $r = run_script('vmrgen.pl', "$d/" . bytes('my port ✓.xvm'), "$d/" . bytes('targets ✓'));
        is($r->{status} . $r->{stderr}, '0', 'vmrgen.pl generates');
        my $port = "$d/" . bytes('targets ✓/my port ✓');
        is(-e "$port/" . bytes($TEXT_NAME) ? slurp("$port/" . bytes($TEXT_NAME)) : undef, bytes("\$HOME & ✓\n") =~ s/\n//r,
           '  the ASCII file under its name, its text in UTF-8');
        ok(-e "$port/" . bytes($BIN_NAME) && slurp("$port/" . bytes($BIN_NAME)) eq $BLOB, '  the binary file byte for byte');
        is_deeply([ini_name_lines("$d/" . bytes('targets ✓'))], [bytes(q{NAME="C++ Port ✓ 'q' "d" & <b>"})], '  one port record');

        $r = run_script('vmrprint.pl', "$d/" . bytes('my port ✓.xvm'), "$d/" . bytes('out ✓.txt'));
        is($r->{status} . $r->{stderr}, '0', 'vmrprint.pl exports');
        my $text = -e "$d/" . bytes('out ✓.txt') ? Encode::decode('UTF-8', slurp("$d/" . bytes('out ✓.txt'))) : '';
        like($text, qr/^    ASCII file "ünï 'q' \\"d\\" \$x & <b> ✓\.txt"$/m, '  names as they are, quotes escaped');

        spew("$d/" . bytes('old ✓.xvm'), bytes(port_doc(version => 'V2007')));
        $r = run_script('vmrver.pl', '-update', "$d/" . bytes('old ✓.xvm'), '-fromver', 'V2007', '-tover', 'V2009');
        is($r->{status} . $r->{stderr}, '0', 'vmrver.pl updates');
        ok(-f "$d/" . bytes('old ✓.xvm.V2007.bak'), '  keeping the original beside it');
        is(eval { Encode::decode('UTF-8', $r->{stdout}, Encode::FB_CROAK) },
           "$top/$shown/old ✓.xvm updated from V2007 to V2009; the original is kept in old ✓.xvm.V2007.bak\n", '  and says so in UTF-8');

        spew("$d/" . bytes('bad ✓.xvm'), '<VMR');
        names_path(run_script($_, "$d/" . bytes('bad ✓.xvm'), "$d/" . bytes('out ✓')), "$shown/bad ✓.xvm", qr/$_: cannot parse /)
            for 'vmrgen.pl', 'vmrprint.pl';
        names_path(run_script('vmrver.pl', '-update', "$d/" . bytes('bad ✓.xvm')), "$shown/bad ✓.xvm", qr/cannot parse/);
        names_path(run_script('vmrgen.pl', "$d/" . bytes('old ✓.xvm.V2007.bak'), "$d/" . bytes('targets ✓')),
                   "$shown/old ✓.xvm.V2007.bak", qr/is of version V2007, not V2009/);
        names_path(run_script('vmrprint.pl', "$d/" . bytes('my port ✓.xvm'), "$d/" . bytes('my port ✓.xvm')),
                   "$shown/my port ✓.xvm", qr/is the document itself/);
        names_path(run_script('encode64.pl', "$d/" . bytes('none ✓.bin'), 'tmp.txt', { cwd => $d }), "$shown/none ✓.bin",
                   qr/no such file/);
        mkdir "$d/" . bytes('targets ✓/mine ✓');
        spew("$d/" . bytes('targets ✓/mine ✓/keep.c'), 'keep');
        spew("$d/" . bytes('mine ✓.xvm'), bytes($doc));
        names_path(run_script('vmrgen.pl', "$d/" . bytes('mine ✓.xvm'), "$d/" . bytes('targets ✓')), "$shown/targets ✓/mine ✓",
                   qr/exists and is not a generated port/);
    };
}

subtest 'a document that holds a character XML cannot hold is refused by every script that reads it' => sub {
    my $dir = File::Temp->newdir;
    # Raw characters (as bytes: UTF-8 encoders refuse to write some) and character
    # references, in texts and attributes; the build section starts at line 5, column 32.
    my %cases = ("<COMMENT>form\x0Cfeed</COMMENT>" => ['holds', 'U+000C', 'line 5, column 45'],
                 "<COMMENT>esc</COMMENT><X A=\"\x1B\"/>" => ['holds', 'U+001B', 'line 5, column 60'],
                 "\n<COMMENT>a\xEF\xBF\xBE</COMMENT>" => ['holds', 'U+FFFE', 'line 6, column 11'],
                 "<COMMENT>a\xED\xA0\x80</COMMENT>" => ['holds', 'U+D800', 'line 5, column 42'],
                 '<COMMENT>&#12;</COMMENT>' => ['refers to', 'U+000C', 'line 5, column 41'],
                 '<COMMENT><![CDATA[&#1;]]>&#xFFFF;</COMMENT>' => ['refers to', 'U+FFFF', 'line 5, column 57'],
                 '<!-- &#2; --><COMMENT>&#xD800;</COMMENT>' => ['refers to', 'U+D800', 'line 5, column 54']);
    for my $bad (sort keys %cases) {
        my ($verb, $char, $where) = @{ $cases{$bad} };
        for my $script (['vmrgen.pl', '{DOC}', "$dir/targets"], ['vmrprint.pl', '{DOC}', "$dir/out.txt"],
                        ['vmrver.pl', '-update', '{DOC}']) {
            my $doc = port_doc(version => $script->[0] eq 'vmrver.pl' ? 'V2007' : 'V2009', build => 'BAD') =~ s/BAD/$bad/r;
            spew("$dir/doc.xvm", $doc);
            my $r = run_script(map { $_ eq '{DOC}' ? "$dir/doc.xvm" : $_ } @$script);
            like($r->{last}, qr/^$script->[0]: \S+doc\.xvm $verb a character that XML cannot hold \(\Q$char\E\) at $where$/,
                 "$script->[0]: $char") or diag($r->{stderr});
            ok($r->{status} && slurp("$dir/doc.xvm") eq $doc && !-e "$dir/targets" && !-e "$dir/out.txt"
               && !glob("$dir/doc.xvm.*"), '  nothing written') or diag(join ' ', glob("$dir/*"));
        }
    }
    # Another fault before the character is reported as it is.
    spew("$dir/doc.xvm", port_doc(build => "<A></B>\n\x0C"));
    like(run_script('vmrprint.pl', "$dir/doc.xvm", "$dir/out.txt")->{last}, qr/cannot parse \S+, line 5: Opening and ending tag mismatch/,
         'an earlier fault is named instead');

    # encode64.pl writes none, whatever the file's name holds.
    for my $name ("bell\x07 and \x1B", bytes("non-character \x{FFFE}"), "latin-1 \xe9\x01") {
        spew("$dir/$name", 'x');
        my $r = run_script('encode64.pl', "$dir/$name", 'tmp.txt', { cwd => "$dir" });
        my $xml = slurp("$dir/tmp.txt");
        my $root = eval { XML::LibXML->load_xml(string => $xml)->documentElement };
        ok(!$r->{status} && $root && $root->getAttribute('Name') =~ /\x{FFFD}/, 'encode64.pl replaces them in ' . ($name =~ s/[^ -~]/?/gr))
            or diag($r->{stderr}, $@, $xml);
    }
};

done_testing;
